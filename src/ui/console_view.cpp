#include "ui/console_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <optional>
#include <utility>

#include "resources/strings.h"

namespace portprobe::ui {

namespace {

constexpr int kFlashMilliseconds = 120;
// A flood changes the screen far more often than a display shows frames.
constexpr int kFrameMilliseconds = 16;
constexpr int kSizeNoticeMilliseconds = 1500;

struct KeyRow {
  Qt::Key qt;
  ConsoleKey console;
};
constexpr KeyRow kKeys[] = {
    {Qt::Key_Backspace, ConsoleKey::Backspace}, {Qt::Key_Tab, ConsoleKey::Tab},
    {Qt::Key_Backtab, ConsoleKey::Tab},         {Qt::Key_Escape, ConsoleKey::Escape},
    {Qt::Key_Up, ConsoleKey::Up},               {Qt::Key_Down, ConsoleKey::Down},
    {Qt::Key_Left, ConsoleKey::Left},           {Qt::Key_Right, ConsoleKey::Right},
    {Qt::Key_Home, ConsoleKey::Home},           {Qt::Key_End, ConsoleKey::End},
    {Qt::Key_PageUp, ConsoleKey::PageUp},       {Qt::Key_PageDown, ConsoleKey::PageDown},
    {Qt::Key_Insert, ConsoleKey::Insert},       {Qt::Key_Delete, ConsoleKey::Delete},
    {Qt::Key_F1, ConsoleKey::F1},               {Qt::Key_F2, ConsoleKey::F2},
    {Qt::Key_F3, ConsoleKey::F3},               {Qt::Key_F4, ConsoleKey::F4},
    {Qt::Key_F5, ConsoleKey::F5},               {Qt::Key_F6, ConsoleKey::F6},
    {Qt::Key_F7, ConsoleKey::F7},               {Qt::Key_F8, ConsoleKey::F8},
    {Qt::Key_F9, ConsoleKey::F9},               {Qt::Key_F10, ConsoleKey::F10},
    {Qt::Key_F11, ConsoleKey::F11},             {Qt::Key_F12, ConsoleKey::F12},
};

std::optional<ConsoleKey> ConsoleKeyOf(int qtKey) {
  for (const KeyRow& row : kKeys) {
    if (row.qt == qtKey) return row.console;
  }
  return std::nullopt;
}

ConsoleModifiers ModifiersOf(Qt::KeyboardModifiers modifiers) {
  return {.shift = modifiers.testFlag(Qt::ShiftModifier),
          .alt = modifiers.testFlag(Qt::AltModifier),
          .ctrl = modifiers.testFlag(Qt::ControlModifier)};
}

// The character that Ctrl or Alt goes with: the key's own letter, since the text of
// Ctrl+C is already its control code.
std::optional<char32_t> BaseCharacter(const QKeyEvent& event) {
  if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) return U'a' + (event.key() - Qt::Key_A);
  if (event.key() >= Qt::Key_Space && event.key() <= Qt::Key_AsciiTilde) return static_cast<char32_t>(event.key());
  const QString text = event.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return std::nullopt;
  return text.toUcs4().value(0);
}

QColor ColourOf(const ConsoleColour& colour, const QColor& fallback) {
  return colour.isDefault ? fallback : QColor(colour.red, colour.green, colour.blue);
}

bool SameLook(const ConsoleCell& a, const ConsoleCell& b) {
  return a.foreground == b.foreground && a.background == b.background && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.reverse == b.reverse;
}

// What a cell shows: a blank place shows a space, the second place of a wide
// character nothing.
std::u32string TextOf(const ConsoleCell& cell) {
  if (cell.width == 0) return {};
  return cell.text.empty() ? U" " : cell.text;
}

std::string Utf8Of(const std::u32string& text) { return QString::fromUcs4(text.data(), text.size()).toStdString(); }

}  // namespace

ConsoleView::ConsoleView(QWidget* parent)
    : QAbstractScrollArea(parent), screen_(std::make_unique<ConsoleScreen>(24, 80)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  horizontalScrollBar()->hide();
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  frame_.setSingleShot(true);
  frame_.setInterval(kFrameMilliseconds);
  connect(&frame_, &QTimer::timeout, viewport(), qOverload<>(&QWidget::update));
  sizeNotice_.setSingleShot(true);
  sizeNotice_.setInterval(kSizeNoticeMilliseconds);
  connect(&sizeNotice_, &QTimer::timeout, viewport(), qOverload<>(&QWidget::update));
  flash_.setSingleShot(true);
  connect(&flash_, &QTimer::timeout, this, [this] {
    flashing_ = false;
    viewport()->update();
  });
  FitScreen();
}

void ConsoleView::Feed(std::string_view utf8) {
  const std::string answer = screen_->Feed(utf8);
  if (!answer.empty()) emit Answer(answer);
  ShowChanges();
}

void ConsoleView::Reset() {
  screen_ = std::make_unique<ConsoleScreen>(screen_->Rows(), screen_->Columns());
  anchor_ = extent_ = {};
  ShowChanges();
}

// Kept lines scroll away under a selection; it is the user's to renew.
void ConsoleView::ShowChanges() {
  if (screen_->TakeBell()) {
    flashing_ = true;
    flash_.start(kFlashMilliseconds);
  }
  QScrollBar* bar = verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  bar->setRange(0, static_cast<int>(screen_->ScrollbackSize()));
  bar->setPageStep(screen_->Rows());
  if (atEnd) bar->setValue(bar->maximum());
  if ((screen_->TakeChanged() || flashing_) && !frame_.isActive()) frame_.start();
}

int ConsoleView::LineCount() const { return static_cast<int>(screen_->ScrollbackSize()) + screen_->Rows(); }

ConsoleCell ConsoleView::CellAt(int line, int column) const {
  const int kept = static_cast<int>(screen_->ScrollbackSize());
  if (line >= kept) return screen_->Cell(line - kept, column);
  return screen_->ScrollbackCell(static_cast<std::size_t>(line), column);
}

bool ConsoleView::event(QEvent* event) {
  // While the screen has focus, every key is the device's, the window's shortcuts too.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

bool ConsoleView::focusNextPrevChild(bool) { return false; }  // Tab completes in the shell

void ConsoleView::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  const ConsoleModifiers mods = ModifiersOf(modifiers);
  std::string bytes;
  if (mods.ctrl && mods.shift && (event->key() == Qt::Key_C || event->key() == Qt::Key_V)) {
    event->key() == Qt::Key_C ? Copy() : Paste();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    bytes = enterBytes_;
  } else if (const std::optional<ConsoleKey> key = ConsoleKeyOf(event->key())) {
    bytes = screen_->KeyBytes(*key, mods);
  } else if (mods.ctrl || mods.alt) {
    if (const std::optional<char32_t> base = BaseCharacter(*event)) bytes = screen_->CharacterBytes(*base, mods);
  } else {
    bytes = event->text().toStdString();
  }
  if (bytes.empty()) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  emit Typed(bytes);
}

void ConsoleView::Paste() {
  const QString text = QApplication::clipboard()->text();
  if (!text.isEmpty()) emit Typed(screen_->PasteBytes(text.toStdString()));
}

void ConsoleView::Copy() const {
  const QString text = SelectedText();
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

QString ConsoleView::SelectedText() const {
  const auto [from, to] = std::minmax(anchor_, extent_);
  std::string text;
  for (int line = from.line; line <= to.line; ++line) {
    std::u32string row;
    const int first = line == from.line ? from.column : 0;
    const int last = line == to.line ? to.column : screen_->Columns();
    for (int column = first; column < last; ++column) {
      row += TextOf(CellAt(line, column));
    }
    // Blanks at a line's end are the screen's, not the device's.
    if (line != to.line) row.erase(row.find_last_not_of(U' ') + 1);
    text += Utf8Of(row);
    if (line != to.line) text += '\n';
  }
  return QString::fromStdString(text);
}

bool ConsoleView::Selected(int line, int column) const {
  const auto [from, to] = std::minmax(anchor_, extent_);
  const Place place{line, column};
  return from != to && from <= place && place < to;
}

ConsoleView::Place ConsoleView::PlaceAt(const QPoint& point) const {
  const int line = verticalScrollBar()->value() + std::max(0, point.y()) / cell_.height();
  const int column = (std::max(0, point.x()) + cell_.width() / 2) / cell_.width();
  return {std::min(line, LineCount() - 1), std::min(column, screen_->Columns())};
}

void ConsoleView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  anchor_ = extent_ = PlaceAt(event->position().toPoint());
  selecting_ = true;
  viewport()->update();
}

void ConsoleView::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
  extent_ = PlaceAt(event->position().toPoint());
  viewport()->update();
}

void ConsoleView::scrollContentsBy(int, int) { viewport()->update(); }

void ConsoleView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  FitScreen();
}

void ConsoleView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) FitScreen();
}

void ConsoleView::FitScreen() {
  const QFontMetrics metrics(font());
  cell_ = QSize(std::max(1, metrics.horizontalAdvance(QLatin1Char('M'))), std::max(1, metrics.height()));
  const QSize before(screen_->Columns(), screen_->Rows());
  screen_->Resize(viewport()->height() / cell_.height(), viewport()->width() / cell_.width());
  if (isVisible() && before != QSize(screen_->Columns(), screen_->Rows())) sizeNotice_.start();
  ShowChanges();
  viewport()->update();
}

void ConsoleView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QColor background = flashing_ ? palette().text().color() : palette().base().color();
  painter.fillRect(viewport()->rect(), background);
  const int first = verticalScrollBar()->value();
  for (int row = 0; row < screen_->Rows() && first + row < LineCount(); ++row) {
    PaintLine(painter, first + row, row * cell_.height());
  }
  PaintSizeNotice(painter);
  // The cursor shows where the device writes next, as an outline when unfocused.
  const ConsoleScreen::Cursor cursor = screen_->CursorPlace();
  const int cursorLine = static_cast<int>(screen_->ScrollbackSize()) + cursor.row;
  if (cursor.visible && cursorLine >= first && cursorLine < first + screen_->Rows()) {
    const QRect place(cursor.column * cell_.width(), (cursorLine - first) * cell_.height(), cell_.width(),
                      cell_.height());
    if (hasFocus()) {
      painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      painter.fillRect(place, Qt::white);
    } else {
      painter.setPen(palette().text().color());
      painter.drawRect(place.adjusted(0, 0, -1, -1));
    }
  }
}

QString ConsoleView::SizeText() const {
  return QString::fromUtf8(resources::kConsoleSizeText).arg(screen_->Columns()).arg(screen_->Rows());
}

void ConsoleView::PaintSizeNotice(QPainter& painter) const {
  if (!sizeNotice_.isActive()) return;
  const QString text = SizeText();
  QRect area = painter.fontMetrics().boundingRect(text).adjusted(-8, -4, 8, 4);
  area.moveCenter(viewport()->rect().center());
  painter.fillRect(area, palette().toolTipBase());
  painter.setPen(palette().toolTipText().color());
  painter.drawText(area, Qt::AlignCenter, text);
}

// Cells of one look are drawn as one run; a wide character is drawn alone, so the
// grid stays true whatever width its font gives it.
void ConsoleView::PaintLine(QPainter& painter, int line, int y) const {
  const QColor foreground = palette().text().color();
  const QColor background = palette().base().color();
  const int columns = screen_->Columns();
  int column = 0;
  while (column < columns) {
    const ConsoleCell first = CellAt(line, column);
    const bool selected = Selected(line, column);
    std::u32string text = TextOf(first);
    int end = column + 1;
    if (first.width == 2) {
      end = std::min(columns, column + 2);
    } else if (first.width == 1) {
      for (; end < columns; ++end) {
        const ConsoleCell cell = CellAt(line, end);
        if (cell.width != 1 || !SameLook(cell, first) || Selected(line, end) != selected) break;
        text += TextOf(cell);
      }
    }
    QColor fore = ColourOf(first.foreground, foreground);
    QColor back = ColourOf(first.background, background);
    if (first.reverse != selected) std::swap(fore, back);
    const QRect area(column * cell_.width(), y, (end - column) * cell_.width(), cell_.height());
    if (back != background || selected) painter.fillRect(area, back);
    QFont font = painter.font();
    font.setBold(first.bold);
    font.setItalic(first.italic);
    font.setUnderline(first.underline);
    painter.setFont(font);
    painter.setPen(fore);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                     QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())));
    column = end;
  }
}

}  // namespace portprobe::ui
