#include "codec/hex_codec.h"

#include <algorithm>

#include "common/utf8_bytes.h"

namespace portprobe {

int HexDigitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

ByteFrame ParseHexText(std::string_view text, std::size_t maxBytes) { return HexStreamDecoder().Feed(text, maxBytes); }

std::optional<HexTextStop> FindHexTextStop(std::string_view text) {
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ' || text[i] == '\r' || text[i] == '\n') continue;
    if (i + 1 >= text.size() || HexDigitValue(static_cast<unsigned char>(text[i])) < 0 ||
        HexDigitValue(static_cast<unsigned char>(text[i + 1])) < 0) {
      const auto before = text.substr(0, i);
      return HexTextStop{static_cast<std::size_t>(std::count_if(before.begin(), before.end(),
                                                                [](char c) { return !IsUtf8Continuation(c); })) +
                             1,
                         bytes};
    }
    ++bytes;
    ++i;
  }
  return std::nullopt;
}

ByteFrame HexStreamDecoder::Feed(std::string_view piece, std::size_t maxBytes) {
  ByteFrame frame;
  for (std::size_t i = 0; i < piece.size() && !stopped_ && frame.size() < maxBytes; ++i) {
    const unsigned char c = static_cast<unsigned char>(piece[i]);
    if (pendingHigh_ >= 0) {
      const int low = HexDigitValue(c);
      if (low < 0) {
        stopped_ = true;
        break;
      }
      frame.push_back(static_cast<std::uint8_t>(pendingHigh_ * 16 + low));
      pendingHigh_ = -1;
    } else if (c != ' ' && c != '\r' && c != '\n') {
      pendingHigh_ = HexDigitValue(c);
      stopped_ = pendingHigh_ < 0;
    }
  }
  return frame;
}

}  // namespace portprobe
