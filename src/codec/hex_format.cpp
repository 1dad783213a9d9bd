#include "codec/hex_format.h"

#include <cstddef>

namespace portprobe {

namespace {

void AppendLowerHexByte(std::string& text, std::uint8_t byte) {
  constexpr char kDigits[] = "0123456789abcdef";
  text.push_back(kDigits[byte >> 4]);
  text.push_back(kDigits[byte & 0x0F]);
}

}  // namespace

// Writes into room made once for all bytes: the receive display runs this for every
// received byte.
int AppendHexLayout(std::span<const std::uint8_t> bytes, int lineCount, std::string& text) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  constexpr std::size_t kLongestPiece = 5;  // two digits, a space and CR LF
  const std::size_t start = text.size();
  text.resize(start + bytes.size() * kLongestPiece);
  char* out = text.data() + start;
  for (const std::uint8_t byte : bytes) {
    *out++ = kDigits[byte >> 4];
    *out++ = kDigits[byte & 0x0F];
    *out++ = ' ';
    if (++lineCount == 16) {
      *out++ = '\r';
      *out++ = '\n';
      lineCount = 0;
    } else if (lineCount == 8) {
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

std::string LowerHexDigits(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) AppendLowerHexByte(text, byte);
  return text;
}

}  // namespace portprobe
