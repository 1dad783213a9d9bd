#include "ui/plain_text_view.h"

#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>

#include "ui/laid_out_line.h"

namespace portprobe::ui {

namespace {

constexpr int kMargin = 3;
constexpr int kTabColumns = 8;
const QColor kHighlightColour(255, 214, 90);

std::size_t Shifted(std::size_t position, std::size_t dropped) { return position > dropped ? position - dropped : 0; }

}  // namespace

PlainTextView::PlainTextView(QWidget* parent, std::size_t byteLimit) : QAbstractScrollArea(parent), text_(byteLimit) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  UpdateScrollBars();
}

QString PlainTextView::ToPlainText() const { return DecodeUtf8(text_.All()); }

void PlainTextView::SetText(std::string_view text) {
  Clear();
  Append(text);
  SetSelection(0, 0);
}

void PlainTextView::Append(std::string_view text) {
  QScrollBar* vertical = verticalScrollBar();
  const bool followEnd = vertical->value() >= vertical->maximum();
  ForgetDropped(text_.Append(text));
  UpdateScrollBars();
  if (followEnd && !HasSelection()) {
    caret_ = anchor_ = text_.Size();
    EnsureCaretVisible();
  } else if (followEnd) {
    vertical->setValue(vertical->maximum());
  }
  viewport()->update();
}

void PlainTextView::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
}

void PlainTextView::Clear() {
  text_.Clear();
  history_.Clear();
  colouredRanges_.clear();
  caret_ = anchor_ = 0;
  UpdateScrollBars();
  viewport()->update();
}

QString PlainTextView::SelectedText() const {
  return DecodeUtf8(text_.Slice(std::min(anchor_, caret_), std::max(anchor_, caret_)));
}

void PlainTextView::SetSelection(std::size_t anchor, std::size_t caret) {
  anchor_ = std::min(anchor, text_.Size());
  caret_ = std::min(caret, text_.Size());
  EnsureCaretVisible();
  viewport()->update();
}

LaidOutLine PlainTextView::LayOut(std::size_t line) const {
  return LaidOutLine(text_.Line(line), font(), kTabColumns * CharWidth());
}

int PlainTextView::LineHeight() const { return fontMetrics().lineSpacing(); }

int PlainTextView::VisibleColumns() const { return std::max(0, viewport()->width() - 2 * kMargin) / CharWidth(); }

int PlainTextView::CharWidth() const { return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0'))); }

int PlainTextView::FirstVisibleLine() const { return verticalScrollBar()->value(); }

int PlainTextView::VisibleLines() const { return std::max(1, viewport()->height() / LineHeight()); }

QPointF PlainTextView::LineOrigin(std::size_t line) const {
  return QPointF(kMargin - horizontalScrollBar()->value(),
                 (static_cast<qreal>(line) - FirstVisibleLine()) * LineHeight());
}

void PlainTextView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const auto first = static_cast<std::size_t>(FirstVisibleLine());
  // One more line than fits, for the partly visible one at the bottom.
  const std::size_t end = std::min(text_.LineCount(), first + static_cast<std::size_t>(VisibleLines()) + 1);
  for (std::size_t line = first; line < end; ++line) PaintLine(painter, line);
}

void PlainTextView::PaintLine(QPainter& painter, std::size_t line) {
  LaidOutLine laidOut = LayOut(line);
  const std::size_t start = text_.LineStart(line);
  const std::size_t from = std::clamp(std::min(anchor_, caret_), start, start + laidOut.Length()) - start;
  const std::size_t to = std::clamp(std::max(anchor_, caret_), start, start + laidOut.Length()) - start;
  QList<QTextLayout::FormatRange> selections = ColouredFormats(laidOut, start);
  AddHighlights(line, laidOut, selections);
  if (from < to) {
    QTextLayout::FormatRange range;
    range.start = laidOut.TextPosition(from);
    range.length = laidOut.TextPosition(to) - range.start;
    range.format.setBackground(palette().brush(QPalette::Highlight));
    range.format.setForeground(palette().brush(QPalette::HighlightedText));
    selections << range;
  }
  painter.setPen(palette().color(QPalette::Text));
  laidOut.Layout().draw(&painter, LineOrigin(line), selections);
  if (hasFocus() && text_.LineOf(caret_) == line) {
    laidOut.Layout().drawCursor(&painter, LineOrigin(line), laidOut.TextPosition(caret_ - start));
  }
}

void PlainTextView::ReserveBottom(int pixels) {
  QScrollBar* vertical = verticalScrollBar();
  const bool followEnd = vertical->value() >= vertical->maximum();
  setViewportMargins(0, 0, 0, pixels);
  UpdateScrollBars();
  if (followEnd) vertical->setValue(vertical->maximum());
}

void PlainTextView::SetHighlighter(Highlighter highlighter) {
  highlighter_ = std::move(highlighter);
  viewport()->update();
}

// Marks go below the selection, which is drawn after them.
void PlainTextView::AddHighlights(std::size_t line, const LaidOutLine& laidOut,
                                  QList<QTextLayout::FormatRange>& ranges) const {
  if (!highlighter_) return;
  const std::size_t start = text_.LineStart(line);
  const std::size_t end = start + laidOut.Length();
  for (const TextRange& mark : highlighter_(start, end)) {
    const std::size_t from = std::clamp(mark.from, start, end) - start;
    const std::size_t to = std::clamp(mark.to, start, end) - start;
    if (from >= to) continue;
    QTextLayout::FormatRange range;
    range.start = laidOut.TextPosition(from);
    range.length = laidOut.TextPosition(to) - range.start;
    range.format.setBackground(kHighlightColour);
    range.format.setForeground(QColor(Qt::black));
    ranges << range;
  }
}

void PlainTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void PlainTextView::scrollContentsBy(int, int) { viewport()->update(); }

void PlainTextView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateScrollBars();
}

void PlainTextView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void PlainTextView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

// The width is reckoned from the longest line in bytes, which is never narrower than
// its characters in a fixed-pitch font, so that no line needs laying out for it.
void PlainTextView::UpdateScrollBars() {
  const int visible = VisibleLines();
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, static_cast<int>(text_.LineCount()) - std::min(visible, static_cast<int>(text_.LineCount())));
  vertical->setPageStep(visible);
  const qint64 width = static_cast<qint64>(text_.LongestLine()) * CharWidth() + 2 * kMargin;
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, static_cast<int>(std::clamp<qint64>(width - viewport()->width(), 0, INT_MAX)));
  horizontal->setPageStep(viewport()->width());
  horizontal->setSingleStep(CharWidth());
}

void PlainTextView::EnsureCaretVisible() {
  const auto line = static_cast<int>(text_.LineOf(caret_));
  QScrollBar* vertical = verticalScrollBar();
  if (line < vertical->value()) vertical->setValue(line);
  if (line >= vertical->value() + VisibleLines()) vertical->setValue(line - VisibleLines() + 1);
  const QRect caret = CaretRect();
  QScrollBar* horizontal = horizontalScrollBar();
  if (caret.left() < kMargin) horizontal->setValue(horizontal->value() + caret.left() - kMargin);
  if (caret.right() > viewport()->width() - kMargin) {
    horizontal->setValue(horizontal->value() + caret.right() - viewport()->width() + kMargin);
  }
}

QRect PlainTextView::CaretRect() const {
  const std::size_t line = text_.LineOf(caret_);
  const LaidOutLine laidOut = LayOut(line);
  const QPointF origin = LineOrigin(line);
  const int x = static_cast<int>(origin.x() + laidOut.XOf(caret_ - text_.LineStart(line)));
  return QRect(x, static_cast<int>(origin.y()), 1, LineHeight());
}

// Keeps caret, anchor and the first visible line on the same text after old lines went.
void PlainTextView::ForgetDropped(LineIndexedText::Dropped dropped) {
  if (dropped.bytes == 0) return;
  history_.Clear();  // its positions no longer hold
  droppedBytes_ += dropped.bytes;
  while (!colouredRanges_.empty() && colouredRanges_.front().to <= droppedBytes_) colouredRanges_.pop_front();
  caret_ = Shifted(caret_, dropped.bytes);
  anchor_ = Shifted(anchor_, dropped.bytes);
  QScrollBar* vertical = verticalScrollBar();
  vertical->setValue(std::max(0, vertical->value() - static_cast<int>(dropped.lines)));
}

}  // namespace portprobe::ui
