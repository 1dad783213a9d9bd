#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace portprobe {

// The send box layout of a frame: each byte as "%02X ", two more spaces after the
// 8th byte of a line, CR LF after the 16th. Nothing is trimmed, so text that ends
// inside a line ends with a space. ParseHexText reads it back to the same bytes.
std::string FormatHexBytes(std::span<const std::uint8_t> bytes);

// The same layout appended to `text`, continuing a line that already holds `lineCount`
// bytes (0 to 15). Returns the count of bytes on the line where it stopped.
int AppendHexLayout(std::span<const std::uint8_t> bytes, int lineCount, std::string& text);

// The bytes as upper-case digit pairs separated by single spaces, all on one line
// ("01 03 0A").
std::string HexPairs(std::span<const std::uint8_t> bytes);

// The bytes as lower-case digits, two per byte, with no separators ("0aff").
std::string LowerHexDigits(std::span<const std::uint8_t> bytes);

}  // namespace portprobe
