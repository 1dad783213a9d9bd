#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "serial/line_settings.h"

namespace portprobe {

// The line settings that a command line gives (--baud, --parity, --data-bits,
// --stop-bits), as the texts of their lists' rows; a rate may be one the list lacks.
// The window and portprobe-cli monitor read them alike.
struct LineOptions {
  std::optional<std::string> baudText;
  std::optional<std::string> parityText;
  std::optional<std::string> dataBitsText;
  std::optional<std::string> stopBitsText;
};

// The --help lines of the four options.
inline constexpr const char* kLineOptionsHelp =
    "  --baud N           baud rate, any positive number (one the list lacks is typed in)\n"
    "  --parity NAME      none, odd, even, mark or space\n"
    "  --data-bits N      5, 6, 7 or 8\n"
    "  --stop-bits N      1, 1.5 or 2 (Linux gives 1.5 stop bits only with 5 data bits)\n";

// Whether `name` ("--baud") is one of the four options.
bool IsLineOption(std::string_view name);

// Sets the option `name` from the value the user gave; false when the value is none
// that the option takes ("fast" for --baud, "Odd" for --parity).
bool SetLineOption(LineOptions& options, std::string_view name, const std::string& value);

// `settings` with what the options give in place of their parts.
LineSettings ApplyLineOptions(const LineOptions& options, LineSettings settings);

}  // namespace portprobe
