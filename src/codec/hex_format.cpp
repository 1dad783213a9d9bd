#include "codec/hex_format.h"

#include <cstddef>

namespace portprobe {

namespace {

void AppendHexByte(std::string& text, std::uint8_t byte, const char* digits) {
  text.push_back(digits[byte >> 4]);
  text.push_back(digits[byte & 0x0F]);
}

}  // namespace

std::string FormatHexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 3 + bytes.size() / 8 * 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    AppendHexByte(text, bytes[i], "0123456789ABCDEF");
    text.push_back(' ');
    if (i % 16 == 15) {
      text += "\r\n";
    } else if (i % 8 == 7) {
      text += "  ";
    }
  }
  return text;
}

std::string LowerHexDigits(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) AppendHexByte(text, byte, "0123456789abcdef");
  return text;
}

}  // namespace portprobe
