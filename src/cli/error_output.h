#pragma once

#include <string_view>

namespace portprobe::cli {

// Writes UTF-8 text to standard error, whole. A Windows console takes it as UTF-16,
// so Chinese shows in any console code page (the C runtime writes stderr byte by byte,
// and a console shows a character split over writes as "�"); a file or pipe gets the
// UTF-8 bytes unchanged, as on Linux.
void WriteError(std::string_view text);

// WriteError of a printf-style text.
[[gnu::format(printf, 1, 2)]] void PrintError(const char* format, ...);

}  // namespace portprobe::cli
