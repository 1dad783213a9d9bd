#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <string>
#include <string_view>

#include "console/console_screen.h"

namespace portprobe::ui {

// The console screen drawn in the widget's fixed-pitch font, one cell per character
// place, with its kept lines above it on the scroll bar. While it has focus every key
// goes to the device, the window's own shortcuts included: keys, Ctrl+letter and the
// pastes of Ctrl+Shift+V come out of Typed as UTF-8. Ctrl+Shift+C copies what the mouse
// selected. The rows and columns follow the widget's size.
class ConsoleView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit ConsoleView(QWidget* parent = nullptr);

  // Text from the device, UTF-8; what the screen answers (to a query) comes out of
  // Answer. A view scrolled up stays where it is.
  void Feed(std::string_view utf8);
  // A clean screen, with no kept lines.
  void Reset();
  // What Enter sends.
  void SetEnterBytes(std::string bytes) { enterBytes_ = std::move(bytes); }
  const ConsoleScreen& Screen() const { return *screen_; }
  QString SelectedText() const;
  // The screen's size as it shows over the screen for a moment after it changed;
  // empty once it has gone.
  QString SizeNotice() const { return sizeNotice_.isActive() ? SizeText() : QString(); }

 signals:
  void Typed(const std::string& utf8);
  void Answer(const std::string& utf8);

 protected:
  bool event(QEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  struct Place {
    int line = 0;  // kept lines first, then the screen's rows
    int column = 0;
    auto operator<=>(const Place&) const = default;
  };
  ConsoleCell CellAt(int line, int column) const;
  int LineCount() const;
  Place PlaceAt(const QPoint& point) const;
  bool Selected(int line, int column) const;
  void FitScreen();
  void ShowChanges();
  void PaintLine(class QPainter& painter, int line, int y) const;
  void PaintSizeNotice(class QPainter& painter) const;
  QString SizeText() const;
  void Paste();
  void Copy() const;

  std::unique_ptr<ConsoleScreen> screen_;
  std::string enterBytes_ = "\r";
  QSize cell_{8, 16};
  Place anchor_;
  Place extent_;
  bool selecting_ = false;
  bool flashing_ = false;
  QTimer flash_;
  QTimer frame_;  // the next repaint, at most one a frame
  QTimer sizeNotice_;
};

}  // namespace portprobe::ui
