#include "serial/receive_formatter.h"

#include <algorithm>

namespace portprobe {

namespace {

constexpr std::string_view kBlockSeparator = "\r\n    \r\n";
constexpr char kHexDigits[] = "0123456789ABCDEF";
// The longest piece of one byte: two digits, a space and CR LF.
constexpr std::size_t kLongestHexPiece = 5;

}  // namespace

void ReceiveFormatter::Format(std::span<const std::uint8_t> bytes, Tick arrival, ReceiveDisplay display,
                              bool boxHasText, std::string& text) {
  if (display == ReceiveDisplay::Characters) {
    hexLineCount_ = 0;
    std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(text), [](std::uint8_t byte) { return byte != 0; });
    return;
  }
  if (lastArrivalTick_ && TickDifference(arrival, *lastArrivalTick_) > kBlockPauseMilliseconds && boxHasText) {
    text += kBlockSeparator;
    hexLineCount_ = 0;
  }
  lastArrivalTick_ = arrival;
  FormatHex(bytes, text);
}

// Writes into room made once for the whole batch: this runs for every received byte.
void ReceiveFormatter::FormatHex(std::span<const std::uint8_t> bytes, std::string& text) {
  const std::size_t start = text.size();
  text.resize(start + bytes.size() * kLongestHexPiece);
  char* out = text.data() + start;
  for (const std::uint8_t byte : bytes) {
    *out++ = kHexDigits[byte >> 4];
    *out++ = kHexDigits[byte & 0x0F];
    *out++ = ' ';
    if (++hexLineCount_ == 16) {
      *out++ = '\r';
      *out++ = '\n';
      hexLineCount_ = 0;
    } else if (hexLineCount_ == 8) {
      *out++ = ' ';
      *out++ = ' ';
    }
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
}

}  // namespace portprobe
