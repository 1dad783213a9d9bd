#include "session/receive_formatter.h"

#include <algorithm>

#include "codec/hex_format.h"

namespace portprobe {

namespace {

constexpr std::string_view kBlockSeparator = "\r\n    \r\n";
// A line of 16 hex bytes without its last blank.
constexpr int kWideLineColumns = HexRows::kWide * 3 + 1;

// The text of character display before any timestamps: the decoded bytes without zero
// characters. Zero bytes are dropped after decoding, so that one inside a broken
// character cannot join its neighbours into another; UTF-8 never uses a zero byte
// within a character.
std::string CharacterText(std::span<const std::uint8_t> bytes, TextDecoder& decoder) {
  std::string text;
  text.reserve(bytes.size());
  decoder.Decode(bytes, text);
  std::erase(text, '\0');
  return text;
}

bool EndsLine(std::string_view text) { return !text.empty() && (text.back() == '\r' || text.back() == '\n'); }

}  // namespace

void ReceiveFormatter::Format(std::span<const std::uint8_t> bytes, bool beginsBlock, WallTime time,
                              ReceiveDisplay display, bool boxHasText, std::string& text) {
  if (display == ReceiveDisplay::Characters) {
    FormatCharacters(bytes, time, text);
  } else {
    FormatHex(bytes, beginsBlock, time, boxHasText, text);
  }
}

// An echo or other text on lines of its own has set the block off already; an empty
// box needs no separator.
void ReceiveFormatter::FormatHex(std::span<const std::uint8_t> bytes, bool beginsBlock, WallTime time,
                                 bool boxHasText, std::string& text) {
  if (beginsBlock && hexShown_ && boxHasText && !blockEnded_) {
    text += kBlockSeparator;
    hexLineCount_ = 0;
    indentDue_ = false;
  }
  if (timestamps_ && (beginsBlock || !hexShown_ || !boxHasText || blockEnded_)) {
    text += TimestampText(time);
    indentDue_ = false;
  }
  blockEnded_ = false;
  hexShown_ = true;
  // The start of a character that character display held back was never shown.
  const std::string held = decoder_.TakeHeld();
  AppendHexRows({reinterpret_cast<const std::uint8_t*>(held.data()), held.size()}, text);
  AppendHexRows(bytes, text);
  // Characters shown next go on after the hex text; a full hex line has ended.
  if (hexLineCount_ == 0) {
    lineTimestamps_.StartLine();
  } else {
    lineTimestamps_.ContinueLine();
  }
}

HexRows ReceiveFormatter::Rows() const {
  HexRows rows;
  rows.indent = timestamps_ ? kTimestampWidth : 0;
  if (columns_ > 0 && columns_ < rows.indent + kWideLineColumns) rows.bytesPerRow = HexRows::kNarrow;
  return rows;
}

void ReceiveFormatter::AppendHexRows(std::span<const std::uint8_t> bytes, std::string& text) {
  if (bytes.empty()) return;
  const HexRows rows = Rows();
  if (indentDue_) text.append(static_cast<std::size_t>(rows.indent), ' ');
  hexLineCount_ = AppendHexLayout(bytes, hexLineCount_, text, rows);
  indentDue_ = hexLineCount_ == 0;
}

// Timestamps are a step of their own on the finished text, so any decoding of the
// bytes happens before it.
void ReceiveFormatter::FormatCharacters(std::span<const std::uint8_t> bytes, WallTime time, std::string& text) {
  hexLineCount_ = 0;
  indentDue_ = false;
  const std::string characters = CharacterText(bytes, decoder_);
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
    AppendHexLayout(bytes, 0, text, Rows());
  } else {
    // A sent frame is whole: it neither takes nor leaves a part of a received character.
    TextDecoder decoder(encoding_);
    std::string characters = CharacterText(bytes, decoder);
    decoder.Finish(characters);
    if (timestamps_) {
      LineTimestamps().Stamp(characters, time, text);
    } else {
      text += characters;
    }
  }
  if (!EndsLine(std::string_view(text).substr(start))) text += "\r\n";
  BreakBlock();
}

}  // namespace portprobe
