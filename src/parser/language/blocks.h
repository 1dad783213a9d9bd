#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "parser/language/script_lines.h"

namespace portprobe::parser {

// The lines covered by the statement or block that begins at a line.
struct LineRange {
  int first = 0;
  int last = 0;
};

// A line that starts with "{" or equals "begin" opens a block that ends at its
// matching "}" or "end" line; any other line is a block of its own. Fails outside the
// table and when the braces never balance.
std::optional<LineRange> BlockExtent(const std::vector<ScriptLine>& lines, int index);

// False for labels, brace lines and "begin"/"end"; an empty line is executable.
bool IsExecutableLine(std::string_view text);

}  // namespace portprobe::parser
