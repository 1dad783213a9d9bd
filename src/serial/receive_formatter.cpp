#include "serial/receive_formatter.h"

#include <algorithm>

#include "codec/hex_format.h"

namespace portprobe {

namespace {

constexpr std::string_view kBlockSeparator = "\r\n    \r\n";

// The text of character display before any timestamps: the bytes without zero bytes.
std::string CharacterText(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size());
  std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(text), [](std::uint8_t byte) { return byte != 0; });
  return text;
}

bool EndsLine(std::string_view text) { return !text.empty() && (text.back() == '\r' || text.back() == '\n'); }

}  // namespace

void ReceiveFormatter::Format(std::span<const std::uint8_t> bytes, Tick arrival, WallTime time, ReceiveDisplay display,
                              bool boxHasText, std::string& text) {
  if (display == ReceiveDisplay::Characters) {
    FormatCharacters(bytes, time, text);
  } else {
    FormatHex(bytes, arrival, time, boxHasText, text);
  }
}

// A block begins after a pause, in an empty box, with the first hex batch and after an
// echo, which sets it off already.
void ReceiveFormatter::FormatHex(std::span<const std::uint8_t> bytes, Tick arrival, WallTime time, bool boxHasText,
                                 std::string& text) {
  const bool paused = PausedBefore(arrival);
  if (paused && boxHasText && !blockEnded_) {
    text += kBlockSeparator;
    hexLineCount_ = 0;
  }
  const bool blockBegins = paused || !lastArrivalTick_ || !boxHasText || blockEnded_;
  if (timestamps_ && blockBegins) text += TimestampText(time);
  blockEnded_ = false;
  lastArrivalTick_ = arrival;
  hexLineCount_ = AppendHexLayout(bytes, hexLineCount_, text);
  // Characters shown next go on after the hex text; a full hex line has ended.
  if (hexLineCount_ == 0) {
    lineTimestamps_.StartLine();
  } else {
    lineTimestamps_.ContinueLine();
  }
}

// Timestamps are a step of their own on the finished text, so any decoding of the
// bytes happens before it.
void ReceiveFormatter::FormatCharacters(std::span<const std::uint8_t> bytes, WallTime time, std::string& text) {
  hexLineCount_ = 0;
  const std::string characters = CharacterText(bytes);
  if (timestamps_) {
    lineTimestamps_.Stamp(characters, time, text);
  } else {
    text += characters;
  }
}

void ReceiveFormatter::FormatEcho(std::span<const std::uint8_t> bytes, WallTime time, ReceiveDisplay display,
                                  std::string& text) {
  const std::size_t start = text.size();
  if (display == ReceiveDisplay::Hex) {
    if (timestamps_) text += TimestampText(time);
    AppendHexLayout(bytes, 0, text);
  } else if (timestamps_) {
    LineTimestamps().Stamp(CharacterText(bytes), time, text);
  } else {
    text += CharacterText(bytes);
  }
  if (!EndsLine(std::string_view(text).substr(start))) text += "\r\n";
  hexLineCount_ = 0;
  blockEnded_ = true;
  lineTimestamps_.StartLine();
}

}  // namespace portprobe
