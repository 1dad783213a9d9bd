// The multi-frame send panel "多条发送": made when first needed, its rows, loop switch,
// place and whether it is open remembered in the settings group [panel].
#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "app/main_dialog.h"
#include "app/send_panel.h"
#include "resources/strings.h"

namespace portprobe {

namespace {

// A gap between the main window and the panel placed beside it.
constexpr int kPanelGap = 8;

}  // namespace

SendPanel* MainDialog::MakeSendPanel() {
  if (sendPanel_) return sendPanel_;
  // A run waits as auto send does, for a message box or a job beside the window, and
  // until its last frame is written: so at most one frame is on its way when it stops,
  // and a device that takes nothing holds it up.
  sendPanel_ =
      new SendPanel(this, prompter_,
                    {[this](const ByteFrame& frame) { return SendPanelFrame(frame); },
                     [this] { return busy_.AutoSendMayRun() && outbox_.Empty() && link_.QueuedWriteBytes() == 0; }});
  connect(sendPanel_, &SendPanel::Changed, this, &MainDialog::ScheduleSettingsSave);
  connect(sendPanel_, &SendPanel::Closed, this, [this] {
    sendPanelOpen_ = false;
    ScheduleSettingsSave();
  });
  return sendPanel_;
}

void MainDialog::ToggleSendPanel() {
  if (sendPanelOpen_) {
    sendPanel_->close();
    return;
  }
  ShowSendPanel();
  ScheduleSettingsSave();
}

// Without a remembered place it first stands beside the main window.
void MainDialog::ShowSendPanel() {
  MakeSendPanel()->show();
  if (!sendPanelPlaced_) PlaceSendPanel();
  sendPanelPlaced_ = true;
  sendPanel_->raise();
  sendPanel_->activateWindow();
  sendPanelOpen_ = true;
}

// Beside the main window, on its right, as far as the screen has room.
void MainDialog::PlaceSendPanel() {
  QPoint place = frameGeometry().topRight() + QPoint(kPanelGap, 0);
  if (const QScreen* screen = this->screen()) {
    place.setX(
        std::max(screen->availableGeometry().left(),
                 std::min(place.x(), screen->availableGeometry().right() - sendPanel_->frameGeometry().width())));
  }
  sendPanel_->move(place);
}

// Sends from the panel are sent as the send box's are, and need an open port as well.
bool MainDialog::SendPanelFrame(const ByteFrame& frame) {
  if (!IsOpen()) {
    Notify(QString::fromUtf8(resources::kPortNotOpenText));
    return false;
  }
  SendFrame(frame);
  return true;
}

void MainDialog::StopPanelRun() {
  if (sendPanel_) sendPanel_->StopRun();
}

// The panel stands beside the main window once that is shown.
void MainDialog::RestoreSendPanelOpen(bool open) {
  if (!open) return;
  sendPanelOpen_ = true;
  MakeSendPanel();
  QTimer::singleShot(0, this, [this] { ShowSendPanel(); });
}

}  // namespace portprobe
