#pragma once

#include <QByteArray>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace portprobe {

// A window of its own beside the main window ("多条发送", "波形显示"): made when first
// needed, standing beside the main window until the user moves it, and whether it is
// open and where it stands remembered.
class SideWindow {
 public:
  // `make` makes the window, a child of `main` that tells Closed() when it closes.
  SideWindow(QWidget& main, std::function<QWidget*()> make) : main_(main), make_(std::move(make)) {}

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
  QPointer<QWidget> window_;
  bool open_ = false;
  bool placed_ = false;
};

}  // namespace portprobe
