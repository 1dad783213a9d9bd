#pragma once

#include <string>

namespace portprobe::parser {

// printf-style formatting into a string of any length: a script's printed items are
// never cut to a fixed buffer.
[[gnu::format(printf, 1, 2)]] std::string FormatText(const char* format, ...);

}  // namespace portprobe::parser
