// Receive path and display of the main window: received batches become text in the
// receive box, are counted and, while capture is on, written to the capture file.
#include <QCheckBox>
#include <QPushButton>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "ui/dialog_units.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

MainDialog* MainDialog::running_ = nullptr;

void MainDialog::SetUpReceiveBox() {
  auto* box = new ui::PlainTextView(this);
  // Hex columns line up only in a fixed-pitch font.
  box->setFont(ui::FixedPitchFont(font().pointSize()));
  // Received text may be saved as it stands, so keys only select and copy it.
  box->SetReadOnly(true);
  ReplaceControl(kReceiveBox, box);
  connect(Button(kClearReceiveButton), &QPushButton::clicked, this, &MainDialog::ClearReceive);
}

ui::PlainTextView* MainDialog::ReceiveBox() const { return TextView(kReceiveBox); }

std::string_view MainDialog::ReceiveText() const {
  return startupTextShown_ ? std::string_view() : ReceiveBox()->Text().All();
}

bool MainDialog::ReceiveTextEmpty() const { return ReceiveText().empty(); }

// Everything drained at once is shown with one append and one scroll; the text is the
// same as batch by batch, since block pauses are measured between arrival ticks.
void MainDialog::ShowReceivedBytes(std::span<const SerialEvent> batches) {
  if (batches.empty()) return;
  const ReceiveDisplay display =
      CheckBox(kHexDisplayCheck)->isChecked() ? ReceiveDisplay::Hex : ReceiveDisplay::Characters;
  std::string chunk;
  for (const SerialEvent& batch : batches) {
    formatter_.Format(batch.bytes, batch.tick, display, !chunk.empty() || !ReceiveTextEmpty(), chunk);
    rxCount_ += static_cast<std::int64_t>(batch.bytes.size());
  }
  CaptureReceivedBytes(batches);
  AppendReceiveText(chunk);
}

void MainDialog::AppendReceiveText(std::string_view text) {
  if (text.empty()) return;
  if (startupTextShown_) {
    startupTextShown_ = false;
    ReceiveBox()->Clear();
  }
  ReceiveBox()->Append(text);
}

void MainDialog::ClearReceive() {
  startupTextShown_ = false;
  ReceiveBox()->Clear();
  formatter_.StartNewLine();
}

void PrintToReceiveBox(std::string_view text) {
  if (MainDialog::running_ != nullptr) MainDialog::running_->AppendReceiveText(text);
}

}  // namespace portprobe
