#include "serial/receive_formatter.h"

#include <algorithm>

#include "codec/hex_format.h"

namespace portprobe {

namespace {

constexpr std::string_view kBlockSeparator = "\r\n    \r\n";

}  // namespace

void ReceiveFormatter::Format(std::span<const std::uint8_t> bytes, Tick arrival, ReceiveDisplay display,
                              bool boxHasText, std::string& text) {
  if (display == ReceiveDisplay::Characters) {
    hexLineCount_ = 0;
    AppendCharacters(bytes, text);
    return;
  }
  if (lastArrivalTick_ && TickDifference(arrival, *lastArrivalTick_) > kBlockPauseMilliseconds && boxHasText) {
    text += kBlockSeparator;
    hexLineCount_ = 0;
  }
  lastArrivalTick_ = arrival;
  // The start of a character that character display held back was never shown.
  const std::string held = decoder_.TakeHeld();
  hexLineCount_ = AppendHexLayout({reinterpret_cast<const std::uint8_t*>(held.data()), held.size()}, hexLineCount_, text);
  hexLineCount_ = AppendHexLayout(bytes, hexLineCount_, text);
}

// Zero bytes are dropped after decoding, so that one inside a broken character cannot
// join its neighbours into another; UTF-8 never uses a zero byte within a character.
void ReceiveFormatter::AppendCharacters(std::span<const std::uint8_t> bytes, std::string& text) {
  const std::size_t start = text.size();
  decoder_.Decode(bytes, text);
  text.erase(std::remove(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), '\0'), text.end());
}

}  // namespace portprobe
