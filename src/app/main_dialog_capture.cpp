// Capture of received data to a file, and saving the receive box into that file.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/file_filters.h"
#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

void MainDialog::ConnectCaptureControls() {
  connect(CheckBox(kCaptureCheck), &QCheckBox::clicked, this, &MainDialog::CaptureToggled);
  connect(Button(kChangeCaptureButton), &QPushButton::clicked, this, &MainDialog::ChangeCaptureFile);
  connect(Button(kSaveReceiveButton), &QPushButton::clicked, this, &MainDialog::SaveReceive);
  labelRestoreTimer_.setSingleShot(true);
  labelRestoreTimer_.setInterval(options_.labelRestoreMilliseconds);
  connect(&labelRestoreTimer_, &QTimer::timeout, this, &MainDialog::RestoreCaptureLabel);
}

// Switching capture on returns to the default file; only the first switch of a run
// goes to the file remembered from the run before.
void MainDialog::CaptureToggled() {
  if (CheckBox(kCaptureCheck)->isChecked()) {
    std::string remembered = TakeRememberedCapturePath();
    if (remembered.empty()) {
      receive_.StartCapture();
    } else {
      receive_.SetCapturePath(std::move(remembered));
    }
    ScheduleSettingsSave();
  } else {
    receive_.StopCapture();
  }
  ShowCapturePath();
}

void MainDialog::ChangeCaptureFile() {
  if (!CheckBox(kCaptureCheck)->isChecked()) {
    prompter_.ShowMessage(this, QString::fromUtf8(kNoCaptureChosenText));
    return;
  }
  const QString path = prompter_.GetSaveFileName(this, {kCaptureFileFilter, QStringLiteral("txt"), {}});
  if (path.isEmpty()) return;
  receive_.SetCapturePath(path.toStdString());
  ScheduleSettingsSave();
  ShowCapturePath();
}

void MainDialog::SaveReceive() {
  if (CapturePath().empty()) {
    prompter_.ShowMessage(this, QString::fromUtf8(kChooseCaptureFileText));
    return;
  }
  const Outcome saved = receive_.SaveToCaptureFile(ReceiveTextWithoutEcho());
  if (!saved) {
    prompter_.ShowMessage(this,
                          QString::fromUtf8(kSaveFailedText)
                              .arg(QString::fromStdString(CapturePath()), QString::fromStdString(saved.Reason())));
    return;
  }
  Label(kCaptureLabel)->setText(QString::fromUtf8(kSavedText));
  labelRestoreTimer_.start();
}

void MainDialog::RestoreCaptureLabel() { Label(kCaptureLabel)->setText(QString::fromStdString(CapturePath())); }

// Label 1029 shows the capture file, or that there is none.
void MainDialog::ShowCapturePath() {
  const std::string& path = CapturePath();
  Label(kCaptureLabel)->setText(path.empty() ? QString::fromUtf8(kNoCaptureFileText) : QString::fromStdString(path));
}

}  // namespace portprobe
