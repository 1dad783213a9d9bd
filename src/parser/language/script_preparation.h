#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "parser/language/function_table.h"
#include "parser/language/script_lines.h"

namespace portprobe::parser {

// A script ready to run: its lines as they run and its functions.
struct PreparedScript {
  std::vector<ScriptLine> lines;
  std::vector<FunctionRecord> functions;
  bool tooManyLines = false;
  bool tooManyFunctions = false;
};

inline constexpr const char* kRawTraceFile = "__parser__0.txt";
inline constexpr const char* kNormalizedTraceFile = "__parser__1.txt";

// Splits the text into lines, finds the functions on the raw lines and normalizes every
// line; with a trace folder the lines are traced there before and after normalization.
PreparedScript PrepareScript(std::string_view text, const std::string& traceFolder);

}  // namespace portprobe::parser
