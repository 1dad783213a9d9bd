#include "send/hex_codec.h"

namespace portprobe {

int HexDigitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

ByteFrame ParseHexText(std::string_view text, std::size_t maxBytes) {
  ByteFrame frame;
  std::size_t i = 0;
  while (i < text.size() && frame.size() < maxBytes) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == ' ' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) break;
    const int high = HexDigitValue(c);
    const int low = HexDigitValue(static_cast<unsigned char>(text[i + 1]));
    if (high < 0 || low < 0) break;
    frame.push_back(static_cast<std::uint8_t>(high * 16 + low));
    i += 2;
  }
  return frame;
}

}  // namespace portprobe
