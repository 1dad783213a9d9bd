// Keyboard, mouse, input-method and clipboard handling of the plain-text view.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "ui/laid_out_line.h"
#include "ui/plain_text_view.h"

namespace portprobe::ui {

namespace {

bool IsBlank(char byte) { return byte == ' ' || byte == '\t'; }

// Text that a key press types: printable characters only.
bool IsTypedText(const QString& text) {
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

}  // namespace

void PlainTextView::Copy() const {
  if (HasSelection()) QApplication::clipboard()->setText(SelectedText());
}

void PlainTextView::Cut() {
  if (readOnly_ || !HasSelection()) return;
  Copy();
  ReplaceSelection({});
}

void PlainTextView::Paste() {
  if (!readOnly_) ReplaceSelection(QApplication::clipboard()->text().toStdString());
}

void PlainTextView::Undo() {
  if (readOnly_) return;
  if (const std::optional<TextEdit> edit = history_.TakeUndo()) {
    ApplyEdit(edit->position, edit->inserted.size(), edit->removed);
  }
}

void PlainTextView::Redo() {
  if (readOnly_) return;
  if (const std::optional<TextEdit> edit = history_.TakeRedo()) {
    ApplyEdit(edit->position, edit->removed.size(), edit->inserted);
  }
}

void PlainTextView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (enter && wantReturn_ && !readOnly_) {
    ReplaceSelection("\n");
    return;
  }
  if (enter || key == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  if (HandleShortcut(event) || HandleMovement(event)) return;
  if (readOnly_) {
    event->ignore();
  } else if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
    DeleteBeside(key == Qt::Key_Delete);
  } else if (IsTypedText(event->text())) {
    ReplaceSelection(event->text().toStdString());
  } else {
    QAbstractScrollArea::keyPressEvent(event);
  }
}

bool PlainTextView::HandleShortcut(QKeyEvent* event) {
  if (event->matches(QKeySequence::SelectAll)) {
    SelectAll();
  } else if (event->matches(QKeySequence::Copy)) {
    Copy();
  } else if (event->matches(QKeySequence::Cut)) {
    Cut();
  } else if (event->matches(QKeySequence::Paste)) {
    Paste();
  } else if (event->matches(QKeySequence::Undo)) {
    Undo();
  } else if (event->matches(QKeySequence::Redo)) {
    Redo();
  } else {
    return false;
  }
  return true;
}

bool PlainTextView::HandleMovement(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      MoveCaret(MovedCaret(event->key(), event->modifiers()), event->modifiers() & Qt::ShiftModifier);
      return true;
    default:
      return false;
  }
}

std::size_t PlainTextView::MovedCaret(int key, Qt::KeyboardModifiers modifiers) const {
  const bool wholeText = modifiers & Qt::ControlModifier;
  const std::size_t line = text_.LineOf(caret_);
  switch (key) {
    case Qt::Key_Left:
      return PreviousPosition(caret_);
    case Qt::Key_Right:
      return NextPosition(caret_);
    case Qt::Key_Up:
      return VerticallyMoved(-1);
    case Qt::Key_Down:
      return VerticallyMoved(1);
    case Qt::Key_PageUp:
      return VerticallyMoved(-VisibleLines());
    case Qt::Key_PageDown:
      return VerticallyMoved(VisibleLines());
    case Qt::Key_Home:
      return wholeText ? 0 : text_.LineStart(line);
    default:  // Key_End
      return wholeText ? text_.Size() : text_.LineEnd(line);
  }
}

// The position in a line `lines` away that lies nearest below the caret.
std::size_t PlainTextView::VerticallyMoved(int lines) const {
  const std::size_t line = text_.LineOf(caret_);
  const qreal x = LayOut(line).XOf(caret_ - text_.LineStart(line));
  const auto last = static_cast<std::int64_t>(text_.LineCount()) - 1;
  const auto target =
      static_cast<std::size_t>(std::clamp<std::int64_t>(static_cast<std::int64_t>(line) + lines, 0, last));
  return text_.LineStart(target) + LayOut(target).ByteAt(x);
}

std::size_t PlainTextView::NextPosition(std::size_t position) const {
  const std::size_t line = text_.LineOf(position);
  if (position >= text_.LineEnd(line)) return line + 1 < text_.LineCount() ? text_.LineStart(line + 1) : position;
  const std::size_t start = text_.LineStart(line);
  return start + LayOut(line).NextByte(position - start);
}

std::size_t PlainTextView::PreviousPosition(std::size_t position) const {
  std::size_t line = text_.LineOf(position);
  if (position == text_.LineStart(line)) {
    if (line == 0) return position;
    --line;
    // Only a line that was split for its length has no break to step over.
    if (text_.LineEnd(line) < position) return text_.LineEnd(line);
  }
  const std::size_t start = text_.LineStart(line);
  return start + LayOut(line).PreviousByte(position - start);
}

std::size_t PlainTextView::PositionAt(QPoint point) const {
  const int row = FirstVisibleLine() + std::max(0, point.y()) / LineHeight();
  const std::size_t line = std::min(static_cast<std::size_t>(row), text_.LineCount() - 1);
  return text_.LineStart(line) + LayOut(line).ByteAt(point.x() - LineOrigin(line).x());
}

void PlainTextView::MoveCaret(std::size_t position, bool keepAnchor) {
  caret_ = position;
  if (!keepAnchor) anchor_ = position;
  EnsureCaretVisible();
  viewport()->update();
}

void PlainTextView::ReplaceSelection(std::string_view bytes) {
  const std::size_t from = std::min(anchor_, caret_);
  const std::size_t to = std::max(anchor_, caret_);
  const std::size_t kept = text_.Size() - (to - from);
  if (editLimit_ != 0 && bytes.size() > editLimit_ - std::min(kept, editLimit_)) {
    emit EditRefused();
    return;
  }
  history_.Record({from, std::string(text_.Slice(from, to)), std::string(bytes)});
  ApplyEdit(from, to - from, bytes);
}

void PlainTextView::ApplyEdit(std::size_t position, std::size_t length, std::string_view bytes) {
  const LineIndexedText::Dropped dropped = text_.Replace(position, position + length, bytes);
  caret_ = anchor_ = position + bytes.size();
  ForgetDropped(dropped);
  UpdateScrollBars();
  EnsureCaretVisible();
  viewport()->update();
  emit Edited();
}

void PlainTextView::DeleteBeside(bool forward) {
  if (!HasSelection()) anchor_ = forward ? NextPosition(caret_) : PreviousPosition(caret_);
  if (HasSelection()) ReplaceSelection({});
}

void PlainTextView::mousePressEvent(QMouseEvent* event) {
  // Other buttons stop here too: a click inside the box is not one on the window's surface.
  if (event->button() != Qt::LeftButton) return event->accept();
  selecting_ = true;
  MoveCaret(PositionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

// Dragging past an edge scrolls one line or one character per move.
void PlainTextView::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_) return;
  const QPoint point = event->position().toPoint();
  if (point.y() < 0) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  if (point.y() > viewport()->height()) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  MoveCaret(PositionAt(point), true);
}

void PlainTextView::mouseReleaseEvent(QMouseEvent* event) {
  selecting_ = false;
  QAbstractScrollArea::mouseReleaseEvent(event);
}

// A double click selects the run of non-blank characters under the pointer, such as
// one hex byte.
void PlainTextView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseDoubleClickEvent(event);
  const std::size_t position = PositionAt(event->position().toPoint());
  const std::size_t line = text_.LineOf(position);
  const std::string_view bytes = text_.Line(line);
  const std::size_t start = text_.LineStart(line);
  std::size_t from = position - start;
  std::size_t to = from;
  while (from > 0 && !IsBlank(bytes[from - 1])) --from;
  while (to < bytes.size() && !IsBlank(bytes[to])) ++to;
  SetSelection(start + from, start + to);
}

void PlainTextView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return QAbstractScrollArea::wheelEvent(event);
  zoomWheelAngle_ += event->angleDelta().y();
  const int steps = zoomWheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
  zoomWheelAngle_ -= steps * QWheelEvent::DefaultDeltasPerStep;
  if (steps != 0) emit ZoomStepped(steps);
  event->accept();
}

void PlainTextView::inputMethodEvent(QInputMethodEvent* event) {
  if (!readOnly_ && !event->commitString().isEmpty()) ReplaceSelection(event->commitString().toStdString());
  event->accept();
}

QVariant PlainTextView::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return !readOnly_;
    case Qt::ImCursorRectangle:
      return CaretRect();
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

}  // namespace portprobe::ui
