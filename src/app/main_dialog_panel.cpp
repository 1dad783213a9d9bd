// The multi-frame send panel "多条发送": made when first needed, its rows, loop switch,
// place and whether it is open remembered in the settings group [panel].
#include <QAction>
#include <QMenu>

#include "app/main_dialog.h"
#include "app/send_panel.h"
#include "resources/strings.h"

namespace portprobe {

SendPanel* MainDialog::MakeSendPanel() { return static_cast<SendPanel*>(sendPanelSide_.Made()); }

QWidget* MainDialog::NewSendPanel() {
  // A run waits as auto send does, for a message box or a job beside the window, and
  // until its last frame is written: so at most one frame is on its way when it stops,
  // and a device that takes nothing holds it up.
  sendPanel_ =
      new SendPanel(this, prompter_,
                    {[this](const ByteFrame& frame) { return SendPanelFrame(frame); },
                     [this] { return busy_.AutoSendMayRun() && outbox_.Empty() && link_.QueuedWriteBytes() == 0; }});
  connect(sendPanel_, &SendPanel::Changed, this, &MainDialog::ScheduleSettingsSave);
  connect(sendPanel_, &SendPanel::Closed, this, [this] {
    sendPanelSide_.Closed();
    ScheduleSettingsSave();
  });
  return sendPanel_;
}

void MainDialog::ToggleSendPanel() {
  sendPanelSide_.Toggle();
  ScheduleSettingsSave();
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

}  // namespace portprobe
