#pragma once

#include <QString>
#include <QTextLayout>
#include <cstddef>
#include <string_view>
#include <vector>

namespace portprobe::ui {

// UTF-8 bytes decoded for Qt; bytes that are not UTF-8 become U+FFFD.
QString DecodeUtf8(std::string_view bytes);

// One line of UTF-8 text laid out in one row without wrapping, for painting, hit
// testing and caret movement. Positions are byte offsets into the line; each UTF-16
// position of the laid-out text maps back to the byte where its character starts.
class LaidOutLine {
 public:
  LaidOutLine(std::string_view bytes, const QFont& font, qreal tabStopDistance);

  QTextLayout& Layout() { return layout_; }
  int TextPosition(std::size_t byte) const;
  std::size_t BytePosition(int textPosition) const { return byteOffsets_[static_cast<std::size_t>(textPosition)]; }
  std::size_t Length() const { return byteOffsets_.back(); }

  qreal XOf(std::size_t byte) const;
  std::size_t ByteAt(qreal x) const;
  // Neighbouring caret positions, by whole characters (clusters).
  std::size_t NextByte(std::size_t byte) const;
  std::size_t PreviousByte(std::size_t byte) const;

 private:
  QTextLayout layout_;
  std::vector<std::size_t> byteOffsets_;  // one per UTF-16 position, and the end
};

}  // namespace portprobe::ui
