// Capture of received data to a file, and saving the receive box into that file.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "app/file_filters.h"
#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "files/capture_file.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

namespace {

const QString kNoCaptureFile = QStringLiteral("未指定写入文件");

}  // namespace

void MainDialog::ConnectCaptureControls() {
  connect(CheckBox(kCaptureCheck), &QCheckBox::clicked, this, &MainDialog::CaptureToggled);
  connect(Button(kChangeCaptureButton), &QPushButton::clicked, this, &MainDialog::ChangeCaptureFile);
  connect(Button(kSaveReceiveButton), &QPushButton::clicked, this, &MainDialog::SaveReceive);
  labelRestoreTimer_.setSingleShot(true);
  labelRestoreTimer_.setInterval(options_.labelRestoreMilliseconds);
  connect(&labelRestoreTimer_, &QTimer::timeout, this, &MainDialog::RestoreCaptureLabel);
}

// Switching capture on always returns to the default file.
void MainDialog::CaptureToggled() {
  if (!CheckBox(kCaptureCheck)->isChecked()) {
    SetCapturePath({});
    return;
  }
  std::error_code ignored;  // an existing folder is the usual case; other failures show at the first write
  std::filesystem::create_directory(DefaultCaptureFolder(), ignored);
  SetCapturePath(DefaultCapturePath());
}

void MainDialog::ChangeCaptureFile() {
  if (!CheckBox(kCaptureCheck)->isChecked()) {
    prompter_.ShowMessage(this, QStringLiteral("你未指定写入到文件项。"));
    return;
  }
  const QString path = prompter_.GetSaveFileName(this, {kCaptureFileFilter, QStringLiteral("txt"), {}});
  if (!path.isEmpty()) SetCapturePath(path.toStdString());
}

// The box's text becomes the file's whole content: a longer old file must not leave
// its tail behind the saved text.
void MainDialog::SaveReceive() {
  if (capturePath_.empty()) {
    prompter_.ShowMessage(this, QStringLiteral("请选择存放文件处！"));
    return;
  }
  CaptureFile file(capturePath_, CaptureFile::Mode::Replace);
  file.Write(ReceiveBox()->Text().All());
  const std::string failure = file.Close();
  if (!failure.empty()) {
    prompter_.ShowMessage(this, QStringLiteral("保存到文件%1失败:%2")
                                    .arg(QString::fromStdString(capturePath_), QString::fromStdString(failure)));
    return;
  }
  Label(kCaptureLabel)->setText(QStringLiteral("接收数据已存入文件!"));
  labelRestoreTimer_.start();
}

void MainDialog::RestoreCaptureLabel() { Label(kCaptureLabel)->setText(QString::fromStdString(capturePath_)); }

// One open and close for everything drained at once. A file that cannot be written
// switches capture off with one message, instead of failing again for every batch.
void MainDialog::CaptureReceivedBytes(std::span<const SerialEvent> batches) {
  if (capturePath_.empty()) return;
  CaptureFile file(capturePath_, CaptureFile::Mode::Append);
  for (const SerialEvent& batch : batches) file.Write(batch.bytes);
  const std::string failure = file.Close();
  if (failure.empty()) return;
  pendingNotices_ << QStringLiteral("写入文件%1失败:%2\n已停止写入文件。")
                         .arg(QString::fromStdString(capturePath_), QString::fromStdString(failure));
  CheckBox(kCaptureCheck)->setChecked(false);
  SetCapturePath({});
}

// Label 1029 shows the capture file, or that there is none.
void MainDialog::SetCapturePath(std::string path) {
  capturePath_ = std::move(path);
  Label(kCaptureLabel)->setText(capturePath_.empty() ? kNoCaptureFile : QString::fromStdString(capturePath_));
}

}  // namespace portprobe
