#pragma once

#include <QAbstractScrollArea>
#include <QAction>
#include <QColor>
#include <QList>
#include <QMenu>
#include <QTextLayout>
#include <cstddef>
#include <deque>
#include <functional>
#include <string_view>
#include <vector>

#include "codec/text_search.h"
#include "common/edit_history.h"
#include "common/line_indexed_text.h"

namespace portprobe::ui {

class LaidOutLine;

// A plain-text box without wrapping, with both scroll bars, over a LineIndexedText:
// the text is kept as UTF-8 bytes and only the visible lines are laid out, so
// appending costs the same however long the text has grown, and the oldest lines
// give way once the text reaches its byte limit. The user can select, copy, type,
// paste and delete, unless the view is read-only: then keys select and copy but never
// change the text. Enter and Escape are left to the dialog, unless Enter is wanted
// for new lines. The caret does not blink, so a view at rest costs nothing.
class PlainTextView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit PlainTextView(QWidget* parent = nullptr, std::size_t byteLimit = LineIndexedText::kDefaultByteLimit);

  const LineIndexedText& Text() const { return text_; }
  // How many bytes of its start the text has lost to its byte limit, ever.
  std::size_t DroppedBytes() const { return droppedBytes_; }
  QString ToPlainText() const;
  void SetText(std::string_view text);
  // Adds text at the end. While the view shows the end it follows the end, and so
  // does the caret unless the user selected something; a view that the user scrolled
  // away from the end stays on what it shows.
  void Append(std::string_view text);
  void Clear();
  void SetReadOnly(bool readOnly);
  // Enter puts a line end (LF) in, as in an edit box.
  void SetWantReturn(bool wantReturn) { wantReturn_ = wantReturn; }
  // An edit by the user that would make the text longer than `bytes` is refused as a
  // whole and reported by EditRefused; 0 sets no limit.
  void SetEditLimit(std::size_t bytes) { editLimit_ = bytes; }
  // Shows the edit menu of a right click and returns the chosen entry; without it a
  // right click opens no menu.
  void SetMenuRunner(std::function<QAction*(QMenu&, const QPoint&)> runMenu) { runMenu_ = std::move(runMenu); }

  // Leaves a strip of `pixels` below the text for a bar laid over it; the view keeps
  // following the end if it did.
  void ReserveBottom(int pixels);
  // The characters of the font's digit width that a line shows without scrolling.
  int VisibleColumns() const;
  // Gives the ranges to mark (such as search matches) that overlap the bytes from..to;
  // asked for each line as it is painted, so only the visible lines cost anything.
  using Highlighter = std::function<std::vector<TextRange>(std::size_t from, std::size_t to)>;
  void SetHighlighter(Highlighter highlighter);
  // Coloured text (plain_text_view_colours.cpp): the bytes from..to of the text show
  // in `colour`. Ranges are added in the order of their text. A range moves with its
  // text when the oldest lines give way, and goes with it; setting or clearing the
  // text and an edit by the user forget all ranges.
  struct ColouredRange {
    std::size_t from = 0;
    std::size_t to = 0;
    QColor colour;
  };
  void AddColouredRange(std::size_t from, std::size_t to, const QColor& colour);
  // The ranges as positions in the text as it is now.
  std::vector<ColouredRange> ColouredRanges() const;

  // Caret and anchor are byte positions in Text(); the selection lies between them.
  std::size_t Caret() const { return caret_; }
  std::size_t Anchor() const { return anchor_; }
  bool HasSelection() const { return caret_ != anchor_; }
  QString SelectedText() const;
  void SetSelection(std::size_t anchor, std::size_t caret);
  void SelectAll() { SetSelection(0, text_.Size()); }
  void Copy() const;
  void Cut();
  void Paste();
  // Take back and make again the user's edits; setting the text forgets them.
  void Undo();
  void Redo();

 signals:
  // The user changed the text (typing, pasting, cutting, deleting).
  void Edited();
  // An edit was refused for the edit limit; the text stayed as it was.
  void EditRefused();
  // The wheel turned with Ctrl held, by whole steps: up (positive) asks for a larger font.
  void ZoomStepped(int steps);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 private:
  // Display (plain_text_view.cpp).
  LaidOutLine LayOut(std::size_t line) const;
  int LineHeight() const;
  int CharWidth() const;
  int FirstVisibleLine() const;
  int VisibleLines() const;
  QPointF LineOrigin(std::size_t line) const;
  void PaintLine(QPainter& painter, std::size_t line);
  void AddHighlights(std::size_t line, const LaidOutLine& laidOut, QList<QTextLayout::FormatRange>& ranges) const;
  void UpdateScrollBars();
  void EnsureCaretVisible();
  void ForgetDropped(LineIndexedText::Dropped dropped);
  QRect CaretRect() const;
  // The coloured ranges that lie on the line starting at `start`, for its painting.
  QList<QTextLayout::FormatRange> ColouredFormats(const LaidOutLine& laidOut, std::size_t start) const;

  // Editing and movement (plain_text_view_input.cpp).
  bool HandleShortcut(QKeyEvent* event);
  bool HandleMovement(QKeyEvent* event);
  std::size_t MovedCaret(int key, Qt::KeyboardModifiers modifiers) const;
  std::size_t VerticallyMoved(int lines) const;
  std::size_t NextPosition(std::size_t position) const;
  std::size_t PreviousPosition(std::size_t position) const;
  std::size_t PositionAt(QPoint point) const;
  void MoveCaret(std::size_t position, bool keepAnchor);
  void ReplaceSelection(std::string_view bytes);
  void ApplyEdit(std::size_t position, std::size_t length, std::string_view bytes);
  void DeleteBeside(bool forward);

  LineIndexedText text_;
  EditHistory history_;
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;
  bool selecting_ = false;
  bool readOnly_ = false;
  bool wantReturn_ = false;
  std::function<QAction*(QMenu&, const QPoint&)> runMenu_;
  std::size_t editLimit_ = 0;
  Highlighter highlighter_;
  // Wheel turns with Ctrl held that have not yet made a whole step (touchpads).
  int zoomWheelAngle_ = 0;
  // Coloured ranges kept by their offsets from the first byte the text ever had, so
  // that dropping the oldest lines moves none of them.
  std::deque<ColouredRange> colouredRanges_;
  std::size_t droppedBytes_ = 0;
};

}  // namespace portprobe::ui
