#include "ui/laid_out_line.h"

#include <QTextOption>
#include <algorithm>

#include "codec/utf8.h"

namespace portprobe::ui {

namespace {

// Wide enough for the longest line of the text model; nothing wraps anyway.
constexpr qreal kUnboundedWidth = 1.0e6;

// Appends the text of `bytes` to `text`, noting the byte where each UTF-16 unit starts.
void Decode(std::string_view bytes, QString& text, std::vector<std::size_t>* offsets) {
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t position = 0; position < bytes.size();) {
    const Utf8Character character = DecodeUtf8At(bytes, position);
    const char32_t codePoint = character.codePoint;
    const int units = QChar::requiresSurrogates(codePoint) ? 2 : 1;
    if (units == 2) {
      text.append(QChar(QChar::highSurrogate(codePoint))).append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
      text.append(QChar(static_cast<char16_t>(codePoint)));
    }
    if (offsets != nullptr) offsets->insert(offsets->end(), static_cast<std::size_t>(units), position);
    position += character.length;
  }
  if (offsets != nullptr) offsets->push_back(bytes.size());
}

}  // namespace

QString DecodeUtf8(std::string_view bytes) {
  QString text;
  Decode(bytes, text, nullptr);
  return text;
}

LaidOutLine::LaidOutLine(std::string_view bytes, const QFont& font, qreal tabStopDistance) {
  QString text;
  Decode(bytes, text, &byteOffsets_);
  layout_.setText(text);
  layout_.setFont(font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTabStopDistance(tabStopDistance);
  layout_.setTextOption(option);
  layout_.setCacheEnabled(true);
  layout_.beginLayout();
  QTextLine line = layout_.createLine();
  line.setLineWidth(kUnboundedWidth);
  line.setPosition(QPointF(0, 0));
  layout_.endLayout();
}

int LaidOutLine::TextPosition(std::size_t byte) const {
  const auto found = std::lower_bound(byteOffsets_.begin(), byteOffsets_.end(), byte);
  return static_cast<int>(found - byteOffsets_.begin());
}

qreal LaidOutLine::XOf(std::size_t byte) const { return layout_.lineAt(0).cursorToX(TextPosition(byte)); }

std::size_t LaidOutLine::ByteAt(qreal x) const {
  return BytePosition(layout_.lineAt(0).xToCursor(x, QTextLine::CursorBetweenCharacters));
}

std::size_t LaidOutLine::NextByte(std::size_t byte) const {
  return BytePosition(layout_.nextCursorPosition(TextPosition(byte)));
}

std::size_t LaidOutLine::PreviousByte(std::size_t byte) const {
  return BytePosition(layout_.previousCursorPosition(TextPosition(byte)));
}

}  // namespace portprobe::ui
