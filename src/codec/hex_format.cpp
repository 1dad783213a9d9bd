#include "codec/hex_format.h"

#include <algorithm>
#include <cstddef>

namespace portprobe {

namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEF";
constexpr char kLowerDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& text, std::uint8_t byte, const char* digits) {
  text.push_back(digits[byte >> 4]);
  text.push_back(digits[byte & 0x0F]);
}

}  // namespace

// Writes into room made once for all bytes: the receive display runs this for every
// received byte.
int AppendHexLayout(std::span<const std::uint8_t> bytes, int lineCount, std::string& text, HexRows rows) {
  const auto indent = static_cast<std::size_t>(std::max(rows.indent, 0));
  constexpr std::size_t kLongestPiece = 5;  // two digits, a space and CR LF
  const std::size_t rowsBegun = bytes.size() / static_cast<std::size_t>(std::max(rows.bytesPerRow, 1)) + 1;
  const std::size_t start = text.size();
  text.resize(start + bytes.size() * kLongestPiece + rowsBegun * indent);
  char* out = text.data() + start;
  bool broken = false;
  for (const std::uint8_t byte : bytes) {
    if (broken) out = std::fill_n(out, indent, ' ');
    broken = false;
    *out++ = kUpperDigits[byte >> 4];
    *out++ = kUpperDigits[byte & 0x0F];
    *out++ = ' ';
    if (++lineCount >= rows.bytesPerRow) {
      *out++ = '\r';
      *out++ = '\n';
      lineCount = 0;
      broken = true;
    } else if (lineCount == HexRows::kNarrow) {
      *out++ = ' ';
      *out++ = ' ';
    }
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return lineCount;
}

std::string FormatHexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  AppendHexLayout(bytes, 0, text);
  return text;
}

std::string HexPairs(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) text.push_back(' ');
    AppendHexByte(text, byte, kUpperDigits);
  }
  return text;
}

std::string LowerHexDigits(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) AppendHexByte(text, byte, kLowerDigits);
  return text;
}

}  // namespace portprobe
