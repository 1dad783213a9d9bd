#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "parser/language/script_lines.h"

namespace portprobe::parser {

// A function of the script: its body runs from bodyStart up to bodyEnd, the closing
// line itself excluded.
struct FunctionRecord {
  std::string name;
  int bodyStart = 0;
  int bodyEnd = 0;
};

inline constexpr std::size_t kMaxFunctions = 100;

struct FunctionTable {
  std::vector<FunctionRecord> records;
  bool overflow = false;  // the script holds more than kMaxFunctions headers
};

// Finds the headers among the raw lines: a line containing "void" and "()" that splits
// into exactly two words once its punctuation is blanked, such as "void main()".
FunctionTable FindFunctions(const std::vector<ScriptLine>& rawLines);

// The first function of that name, compared without regard to case, or nullptr.
const FunctionRecord* FindFunction(const std::vector<FunctionRecord>& functions, std::string_view name);

}  // namespace portprobe::parser
