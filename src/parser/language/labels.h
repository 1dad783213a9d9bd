#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "parser/language/script_lines.h"

namespace portprobe::parser {

// The first up to four bytes of a label name, first byte most significant. With
// needsColon the text must end in ":" (else 0), and the colon is not part of the name.
std::uint32_t LabelCode(std::string_view text, bool needsColon);

// Index of the first line of the whole script that is a label with the given code
// (top bit ignored), or -1.
int FindLabelLine(const std::vector<ScriptLine>& lines, std::uint32_t code);

}  // namespace portprobe::parser
