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
    std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(text), [](std::uint8_t byte) { return byte != 0; });
    return;
  }
  if (lastArrivalTick_ && TickDifference(arrival, *lastArrivalTick_) > kBlockPauseMilliseconds && boxHasText) {
    text += kBlockSeparator;
    hexLineCount_ = 0;
  }
  lastArrivalTick_ = arrival;
  hexLineCount_ = AppendHexLayout(bytes, hexLineCount_, text);
}

}  // namespace portprobe
