#include "app/capture_controls.h"

#include <QDir>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/file_filters.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/template_dialog.h"

namespace portprobe {

using namespace resources;

CaptureControls::CaptureControls(ui::TemplateDialog& window, ui::Prompter& prompter, ReceivePath& receive,
                                 int labelRestoreMilliseconds, std::function<std::string()> receiveText)
    : QObject(&window), window_(window), prompter_(prompter), receive_(receive), receiveText_(std::move(receiveText)) {
  connect(window.CheckBox(kCaptureCheck), &QCheckBox::clicked, this, &CaptureControls::Toggled);
  connect(window.Button(kChangeCaptureButton), &QPushButton::clicked, this, &CaptureControls::ChangeFile);
  connect(window.Button(kSaveReceiveButton), &QPushButton::clicked, this, &CaptureControls::SaveReceive);
  labelRestoreTimer_.setSingleShot(true);
  labelRestoreTimer_.setInterval(labelRestoreMilliseconds);
  connect(&labelRestoreTimer_, &QTimer::timeout, this, &CaptureControls::ShowPath);
}

// Switching capture on returns to the default file; only the first switch of a run
// goes to the file remembered from the run before.
void CaptureControls::Toggled() {
  if (window_.CheckBox(kCaptureCheck)->isChecked()) {
    std::string remembered = std::exchange(rememberedPath_, std::string());
    if (remembered.empty()) {
      receive_.StartCapture();
    } else {
      receive_.SetCapturePath(std::move(remembered));
    }
    emit PathChanged();
  } else {
    receive_.StopCapture();
  }
  ShowPath();
}

void CaptureControls::ChangeFile() {
  if (!window_.CheckBox(kCaptureCheck)->isChecked()) {
    prompter_.ShowMessage(&window_, QString::fromUtf8(kNoCaptureChosenText));
    return;
  }
  const QString path = prompter_.GetSaveFileName(&window_, {kCaptureFileFilter, QStringLiteral("txt"), {}});
  if (path.isEmpty()) return;
  receive_.SetCapturePath(path.toStdString());
  emit PathChanged();
  ShowPath();
}

void CaptureControls::SaveReceive() {
  if (receive_.CapturePath().empty()) {
    prompter_.ShowMessage(&window_, QString::fromUtf8(kChooseCaptureFileText));
    return;
  }
  const Outcome saved = receive_.SaveToCaptureFile(receiveText_());
  if (!saved) {
    prompter_.ShowMessage(
        &window_, QString::fromUtf8(kSaveFailedText)
                      .arg(QString::fromStdString(receive_.CapturePath()), QString::fromStdString(saved.Reason())));
    return;
  }
  window_.Label(kCaptureLabel)->setText(QString::fromUtf8(kSavedText));
  labelRestoreTimer_.start();
}

// Label 1029 shows the capture file, or that there is none; a path longer than the
// label loses its middle, and its tool tip gives it whole.
void CaptureControls::ShowPath() {
  const QString path = QDir::toNativeSeparators(QString::fromStdString(receive_.CapturePath()));
  window_.Label(kCaptureLabel)->setText(path.isEmpty() ? QString::fromUtf8(kNoCaptureFileText) : path);
  window_.Label(kCaptureLabel)->setToolTip(path);
}

}  // namespace portprobe
