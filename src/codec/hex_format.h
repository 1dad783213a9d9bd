#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace portprobe {

// The send box layout of a frame: each byte as "%02X ", two more spaces after the
// 8th byte of a line, CR LF after the 16th. Nothing is trimmed, so text that ends
// inside a line ends with a space. ParseHexText reads it back to the same bytes.
std::string FormatHexBytes(std::span<const std::uint8_t> bytes);

// How the rows of a hex layout are cut: 16 bytes with the gap after the 8th, or fewer
// for a narrow box. A row that a break of the layout begins starts with `indent`
// blanks, so that its bytes stand under those of a row that begins with a timestamp.
struct HexRows {
  static constexpr int kWide = 16;
  static constexpr int kNarrow = 8;
  int bytesPerRow = kWide;
  int indent = 0;
};

// The same layout appended to `text`, continuing a line that already holds `lineCount`
// bytes. Returns the count of bytes on the line where it stopped. A line longer than
// the rows allow (the rows narrowed) ends at the next byte.
int AppendHexLayout(std::span<const std::uint8_t> bytes, int lineCount, std::string& text, HexRows rows = {});

// The bytes as upper-case digit pairs separated by single spaces, all on one line
// ("01 03 0A").
std::string HexPairs(std::span<const std::uint8_t> bytes);

// The bytes as lower-case digits, two per byte, with no separators ("0aff").
std::string LowerHexDigits(std::span<const std::uint8_t> bytes);

}  // namespace portprobe
