#pragma once

#include <QByteArray>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

namespace portprobe {

// A window of its own beside the main window ("多条发送", "波形显示"): made when first
// needed, standing beside the main window until the user moves it, and whether it is
// open and where it stands remembered.
// Where a window of `size` (its frame) stands beside the main window's frame `main`
// within the screen's `room`: on the right when it fits there, else on the left, else
// as far right as the screen allows but never over `keepClear` (the main window's
// tools-menu button, in screen coordinates).
QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& room, const QRect& keepClear);

class SideWindow {
 public:
  // `make` makes the window, a child of `main` that tells Closed() when it closes;
  // `keepClear` is a control of the main window that it is never placed over.
  SideWindow(QWidget& main, std::function<QWidget*()> make, std::function<const QWidget*()> keepClear)
      : main_(main), make_(std::move(make)), keepClear_(std::move(keepClear)) {}

  QWidget* Made();
  QWidget* IfMade() const { return window_; }
  bool IsOpen() const { return open_; }

  void Toggle();
  // Shows the window; `activate`: it takes the keyboard, as one the user opened does.
  void Show(bool activate = true);
  void Closed() { open_ = false; }
  // A remembered place; the window stands beside the main window without one.
  void RestorePlace(const QByteArray& geometry);
  // Shows a window that was open at the last end once the main window is shown; the
  // keyboard stays with the main window.
  void RestoreOpen(bool open);

 private:
  void PlaceBesideMain();

  QWidget& main_;
  std::function<QWidget*()> make_;
  std::function<const QWidget*()> keepClear_;
  QPointer<QWidget> window_;
  bool open_ = false;
  bool placed_ = false;
};

}  // namespace portprobe
