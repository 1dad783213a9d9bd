#include "app/side_window.h"

#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace portprobe {

namespace {

// A gap between the main window and a window placed beside it.
constexpr int kGap = 8;

}  // namespace

QWidget* SideWindow::Made() {
  if (!window_) window_ = make_();
  return window_;
}

void SideWindow::Toggle() {
  if (open_) {
    window_->close();
  } else {
    Show();
  }
}

void SideWindow::Show(bool activate) {
  Made()->show();
  if (!placed_) PlaceBesideMain();
  placed_ = true;
  window_->raise();
  if (activate) window_->activateWindow();
  open_ = true;
}

void SideWindow::RestorePlace(const QByteArray& geometry) { placed_ = Made()->restoreGeometry(geometry); }

void SideWindow::RestoreOpen(bool open) {
  if (!open) return;
  open_ = true;
  Made();
  QTimer::singleShot(0, window_, [this] { Show(false); });
}

// On the main window's right, as far as the screen has room.
void SideWindow::PlaceBesideMain() {
  QPoint place = main_.frameGeometry().topRight() + QPoint(kGap, 0);
  if (const QScreen* screen = main_.screen()) {
    const QRect room = screen->availableGeometry();
    place.setX(std::max(room.left(), std::min(place.x(), room.right() - window_->frameGeometry().width())));
  }
  window_->move(place);
}

}  // namespace portprobe
