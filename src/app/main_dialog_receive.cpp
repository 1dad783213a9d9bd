// The receive box of the main window: it shows what the receive path makes of the
// received batches, and the packet parser's output.
#include <QCheckBox>
#include <QPushButton>

#include "app/main_dialog.h"
#include "app/capture_controls.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
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
  box->SetMenuRunner([this](QMenu& menu, const QPoint& at) { return prompter_.ExecMenu(menu, at); });
  ReplaceControl(kReceiveBox, box);
  connect(Button(kClearReceiveButton), &QPushButton::clicked, this, &MainDialog::ClearReceive);
}

ui::PlainTextView* MainDialog::ReceiveBox() const { return TextView(kReceiveBox); }

std::string_view MainDialog::ReceiveText() const {
  return startupTextShown_ ? std::string_view() : ReceiveBox()->Text().All();
}

bool MainDialog::ReceiveTextEmpty() const { return ReceiveText().empty(); }

ReceiveDisplay MainDialog::CurrentReceiveDisplay() const {
  return CheckBox(kHexDisplayCheck)->isChecked() ? ReceiveDisplay::Hex : ReceiveDisplay::Characters;
}

void MainDialog::ApplyReceivePreferences() {
  receive_.ApplyPreferences(preferences_);
  ArmBlockDeadline();
}

void MainDialog::ReportCaptureFailure(const ReceivePath::CaptureFailure& failure) {
  busy_.AddNotice(QString::fromUtf8(kCaptureFailedText)
                      .arg(QString::fromStdString(failure.path), QString::fromStdString(failure.reason))
                      .toStdString());
  CheckBox(kCaptureCheck)->setChecked(false);
  capture_->ShowPath();
}

// Whatever is appended stands after the block that ended last.
void MainDialog::AppendReceiveText(std::string_view text) {
  if (text.empty()) return;
  blockAtBoxEnd_ = 0;
  receivedTextAtBoxEnd_ = false;
  if (startupTextShown_) {
    startupTextShown_ = false;
    ReceiveBox()->Clear();
  }
  ReceiveBox()->Append(text);
}

void MainDialog::ClearReceive() {
  startupTextShown_ = false;
  blockAtBoxEnd_ = 0;
  receivedTextAtBoxEnd_ = false;
  ReceiveBox()->Clear();
  receive_.BoxCleared();
}

void PrintToReceiveBox(std::string_view text) {
  if (MainDialog::running_ != nullptr) MainDialog::running_->AppendReceiveText(text);
}

}  // namespace portprobe
