#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace portprobe::parser {

// One non-blank line of a script, trimmed, with the number of carriage returns from
// the start of the text up to and including the separator that ends it.
struct ScriptLine {
  std::string text;
  std::int32_t sourceLine = 0;
};

inline constexpr std::size_t kMaxScriptLines = 4096;

struct ScriptLineTable {
  std::vector<ScriptLine> lines;
  bool overflow = false;  // the text held more than kMaxScriptLines non-blank lines
};

// Cuts the text at every CR, LF or CR LF; blank lines are dropped but their carriage
// returns still count. Lines beyond kMaxScriptLines are not stored and set overflow.
ScriptLineTable SplitLines(std::string_view text);

}  // namespace portprobe::parser
