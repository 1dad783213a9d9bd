#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "codec/text_encoding.h"
#include "common/tick.h"

namespace portprobe {

enum class ReceiveDisplay { Hex, Characters };

// Turns received batches into the text of the receive box.
//
// Hex display: each byte as "%02X ", two more spaces after the 8th byte of a line and
// CR LF after the 16th. A batch that arrives more than 100 ms after the previous hex
// batch starts a new block, set off by "\r\n    \r\n", unless the box is empty.
//
// Character display: the text of the bytes, without zero characters. In UTF-8 the
// bytes are kept raw; the box decodes the whole stored text as UTF-8, so a character
// split across two batches shows whole and CR, LF and CR LF each break a line once.
// Other encodings are decoded to UTF-8 here, holding a split character back until
// its end arrives.
class ReceiveFormatter {
 public:
  static constexpr std::int32_t kBlockPauseMilliseconds = 100;

  // Appends the text of one batch, read at tick `arrival`, to `text`. `boxHasText`
  // tells whether anything stands in the box before this batch.
  void Format(std::span<const std::uint8_t> bytes, Tick arrival, ReceiveDisplay display, bool boxHasText,
              std::string& text);

  // The box was cleared: the next hex byte starts a line.
  void StartNewLine() { hexLineCount_ = 0; }

  // The encoding of character display; a character under way is finished in the new one.
  void SetEncoding(TextEncoding encoding) { decoder_.SetEncoding(encoding); }

  // Hex bytes on the current line, 0 to 15.
  int HexLineCount() const { return hexLineCount_; }
  // Arrival of the previous hex batch; empty before the first one.
  std::optional<Tick> LastArrivalTick() const { return lastArrivalTick_; }

 private:
  void AppendCharacters(std::span<const std::uint8_t> bytes, std::string& text);

  int hexLineCount_ = 0;
  std::optional<Tick> lastArrivalTick_;
  TextDecoder decoder_;
};

}  // namespace portprobe
