// The modem lines: RTS and DTR and a break from the tools menu, lamps for the lines
// the device drives, and the flow control of the line.
#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/modem_lamps.h"

namespace portprobe {

using namespace resources;

// The lamps sit in the free strip below the capture file's name, which stays where it
// is when the window grows.
void MainDialog::SetUpModemLines() {
  modemLamps_ = new ui::ModemLamps(this);
  const QRect above = Control(kCaptureLabel)->geometry();
  modemLamps_->setGeometry(above.x(), above.bottom() + 1 + Units().ToPixelsY(1), above.width(),
                           modemLamps_->sizeHint().height());
  link_.SetModemOutputs(preferences_.rts, preferences_.dtr);
}

// A modem line chosen while the open port has none is kept for the next device; this
// port needs no further word that it has no lines.
void MainDialog::NoteModemLinesChoice() {
  if (IsOpen() && !link_.ModemLinesSupported()) modemLinesMissingShown_ = link_.Connection();
}

// A flow control that the open port does not have yet reaches it at once, with the
// other settings as they stand.
void MainDialog::ApplyModemPreferences() {
  link_.SetModemOutputs(preferences_.rts, preferences_.dtr);
  if (IsOpen() && link_.LineFlowControl() != preferences_.flowControl) {
    link_.ApplyLineSettings(SelectedLineSettings());
  }
}

void MainDialog::ShowModemLines(const SerialEvent& event) {
  modemLamps_->ShowLines(static_cast<std::uint32_t>(event.count));
  modemLampsConnection_ = event.connection;
}

// Until the worker's first reading of a new connection the lamps show every line off.
void MainDialog::UpdateModemLamps() {
  if (modemLamps_ == nullptr) return;  // the status line was shown before the lamps were made
  if (!IsOpen()) {
    modemLamps_->ShowGrey(QString::fromUtf8(kModemLampsClosedText));
  } else if (!link_.ModemLinesSupported()) {
    modemLamps_->ShowGrey(QString::fromUtf8(kModemLinesMissingText));
  } else if (modemLampsConnection_ != link_.Connection()) {
    modemLamps_->ShowLines(0);
    modemLampsConnection_ = link_.Connection();
  }
}

QString MainDialog::ModemLinesMissingNotice() const {
  const bool shown = IsOpen() && modemLinesMissingShown_ == link_.Connection();
  return shown ? QString::fromUtf8(kModemLinesMissingStatusText) : QString();
}

}  // namespace portprobe
