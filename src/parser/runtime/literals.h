#pragma once

#include <string_view>

#include "parser/runtime/script_value.h"

namespace portprobe::parser {

// Skips a leading quote byte, then cuts a trailing one; either quote closes either kind.
std::string_view StripQuotes(std::string_view word);

// 0 unless the text starts with a decimal digit. "0x"/"0X" reads every following byte
// as a hex digit (a byte that is not one counts as 255), older digits falling off the
// top; otherwise the decimal digits up to the first other byte, wrapping at 32 bits.
ScriptValue ParseNumber(std::string_view text);

}  // namespace portprobe::parser
