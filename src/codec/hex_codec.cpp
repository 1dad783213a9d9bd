#include "codec/hex_codec.h"

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
  HexStreamDecoder decoder;
  decoder.Feed(text);
  return decoder.Stop();
}

ByteFrame HexStreamDecoder::Feed(std::string_view piece, std::size_t maxBytes) {
  ByteFrame frame;
  for (std::size_t i = 0; i < piece.size() && !stopped_ && frame.size() < maxBytes; ++i) {
    const unsigned char c = static_cast<unsigned char>(piece[i]);
    if (!IsUtf8Continuation(static_cast<char>(c))) ++characters_;
    if (pendingHigh_ >= 0) {
      const int low = HexDigitValue(c);
      if (low < 0) {
        stopped_ = true;
        break;
      }
      frame.push_back(static_cast<std::uint8_t>(pendingHigh_ * 16 + low));
      pendingHigh_ = -1;
    } else if (c != ' ' && c != '\r' && c != '\n') {
      groupCharacter_ = characters_;
      pendingHigh_ = HexDigitValue(c);
      stopped_ = pendingHigh_ < 0;
    }
  }
  bytes_ += frame.size();
  return frame;
}

std::optional<HexTextStop> HexStreamDecoder::Stop() const {
  if (!stopped_ && pendingHigh_ < 0) return std::nullopt;
  return HexTextStop{groupCharacter_, bytes_};
}

}  // namespace portprobe
