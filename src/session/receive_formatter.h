#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "codec/hex_format.h"
#include "codec/text_encoding.h"
#include "common/tick.h"
#include "serial/receive_timestamps.h"

namespace portprobe {

enum class ReceiveDisplay { Hex, Characters };

// Turns received batches into the text of the receive box.
//
// Hex display: each byte as "%02X ", two more spaces after the 8th byte of a line and
// CR LF after the 16th; in a box too narrow for such a line, CR LF after every 8th. A
// batch that begins a received block (ReceivedBlocks decides where blocks end) is set
// off by "\r\n    \r\n", unless the box is empty.
//
// Character display: the text of the bytes, without zero characters. In UTF-8 the
// bytes are kept raw; the box decodes the whole stored text as UTF-8, so a character
// split across two batches shows whole and CR, LF and CR LF each break a line once.
// Other encodings are decoded to UTF-8 here, holding a split character back until
// its end arrives.
//
// With timestamps on, each hex block and each character line begins with the local
// time at which its first batch arrived; the further lines of a hex block stand under
// its first byte. Sent frames shown in the box (the echo) stand
// on lines of their own, and the received text after them starts a new block or line.
class ReceiveFormatter {
 public:
  // Appends the text of one batch, read at wall-clock `time`, to `text`. `beginsBlock`
  // tells whether it begins a received block, `boxHasText` whether anything stands in
  // the box before it.
  void Format(std::span<const std::uint8_t> bytes, bool beginsBlock, WallTime time, ReceiveDisplay display,
              bool boxHasText, std::string& text);
  // Appends the text of a frame sent at `time`, shown at the start of a line: in the
  // display's layout, with its own timestamp, ending its last line. What arrives next
  // starts a new block or line.
  void FormatEcho(std::span<const std::uint8_t> bytes, WallTime time, ReceiveDisplay display, std::string& text);

  // Other text was shown on lines of its own after the received text (the live
  // decoder's output): what arrives next starts a new block or line.
  void BreakBlock() {
    hexLineCount_ = 0;
    indentDue_ = false;
    blockEnded_ = true;
    lineTimestamps_.StartLine();
  }

  // The box was cleared: the next hex byte starts a line.
  void StartNewLine() {
    hexLineCount_ = 0;
    indentDue_ = false;
    lineTimestamps_.StartLine();
  }

  void SetEncoding(TextEncoding encoding) {
    encoding_ = encoding;
    decoder_.SetEncoding(encoding);
  }
  void SetTimestamps(bool on) { timestamps_ = on; }
  // The characters a line of the box shows without scrolling; 0 when not known. Hex
  // lines begun from now on are cut to fit.
  void SetColumns(int columns) { columns_ = columns; }

  // Hex bytes on the current line, 0 to 15.
  int HexLineCount() const { return hexLineCount_; }

 private:
  void FormatHex(std::span<const std::uint8_t> bytes, bool beginsBlock, WallTime time, bool boxHasText,
                 std::string& text);
  HexRows Rows() const;
  // Appends hex bytes that go on from where the last ones stopped.
  void AppendHexRows(std::span<const std::uint8_t> bytes, std::string& text);
  void FormatCharacters(std::span<const std::uint8_t> bytes, WallTime time, std::string& text);

  int hexLineCount_ = 0;
  // The hex layout broke the last line, so the next byte begins an indented one.
  bool indentDue_ = false;
  bool timestamps_ = false;
  int columns_ = 0;
  // A hex batch was shown: the first one sets no block off, whatever stands before it.
  bool hexShown_ = false;
  // An echo ended the block under way, so the next hex batch begins one.
  bool blockEnded_ = false;
  LineTimestamps lineTimestamps_;
  TextEncoding encoding_ = TextEncoding::Utf8;
  TextDecoder decoder_;
};

}  // namespace portprobe
