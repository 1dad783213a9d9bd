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

void SideWindow::PlaceBesideMain() {
  const QWidget* keepClear = keepClear_();
  const QRect clear = keepClear ? QRect(keepClear->mapToGlobal(QPoint(0, 0)), keepClear->size()) : QRect();
  const QScreen* screen = main_.screen();
  const QRect room = screen ? screen->availableGeometry() : QRect(main_.frameGeometry().topLeft(), QSize(1 << 20, 1 << 20));
  window_->move(PlaceBeside(main_.frameGeometry(), window_->frameGeometry().size(), room, clear));
}

QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& room, const QRect& keepClear) {
  const int top = std::max(room.top(), std::min(main.top(), room.bottom() + 1 - size.height()));
  if (main.right() + kGap + size.width() <= room.right() + 1) return {main.right() + 1 + kGap, top};
  if (main.left() - kGap - size.width() >= room.left()) return {main.left() - kGap - size.width(), top};
  QRect placed(QPoint(std::max(room.left(), room.right() + 1 - size.width()), top), size);
  if (!placed.intersects(keepClear)) return placed.topLeft();
  // Above the button when the window is short enough, else to its left.
  if (keepClear.top() - kGap - size.height() >= room.top()) {
    placed.moveBottom(keepClear.top() - kGap - 1);
  } else {
    placed.moveRight(keepClear.left() - kGap - 1);
  }
  return placed.topLeft();
}

}  // namespace portprobe
