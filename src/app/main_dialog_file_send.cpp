// Automatic sending on a timer, and sending a file instead of the send box.
#include <QDir>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/file_filters.h"
#include "app/main_dialog.h"
#include "app/unreadable_file_text.h"
#include "codec/send_text.h"
#include "files/send_file.h"
#include "resources/control_ids.h"
#include "resources/strings.h"

namespace portprobe {

using namespace resources;

namespace {

QString FileSendProgressText(const QString& path, const FileSendProgress& progress) {
  return QString::fromUtf8(kSendFileProgressText)
      .arg(path)
      .arg(progress.bytesRead.load())
      .arg(progress.fileSize)
      .arg(progress.bytesWritten.load());
}

}  // namespace

void MainDialog::AutoSendToggled() {
  autoSendOn_ = CheckBox(kAutoSendCheck)->isChecked();
  // An invalid period leaves auto send off rather than running on a period the user
  // was just told is wrong.
  if (!ExchangePeriodFromControl()) autoSendOn_ = false;
  const bool portClosed = autoSendOn_ && !IsOpen();
  if (portClosed) autoSendOn_ = false;
  CheckBox(kAutoSendCheck)->setChecked(autoSendOn_);
  if (autoSendOn_) {
    autoSendTimer_.start(static_cast<int>(autoSendPeriod_.Milliseconds()));
  } else {
    autoSendTimer_.stop();
  }
  if (portClosed) Notify(QString::fromUtf8(kAutoSendNeedsPortText));
}

// The timer is stopped for the send and set again afterwards, with the period read
// from the edit at that moment, so a slow send never piles up ticks.
void MainDialog::TimerTick() {
  autoSendTimer_.stop();
  // A tick that comes while a message box shows or a job runs beside the window waits
  // for them, as the send before it would have: sends never overlap or pile up.
  // Nor do they pile up bytes for a device that takes none.
  if (busy_.AutoSendMayRun() && !SendQueueFull()) ManualSend();
  if (!autoSendOn_) return;
  autoSendTimer_.start(static_cast<int>(autoSendPeriod_.TakeForNextTick(Edit(kPeriodEdit)->text().toStdString())));
}

void MainDialog::ChooseSendFile() {
  const QString path = prompter_.GetOpenFileName(this, {kSendFileFilter, {}, {}});
  if (!path.isEmpty()) ShowSendFile(path);
}

// Makes the file the one sent, its text shown in the send box; false (and said) when
// it cannot be read.
bool MainDialog::ShowSendFile(const QString& path) {
  const QFileInfo stamp(path);
  const Expected<SendFilePreview> preview = LoadSendFileText(path.toStdString());
  if (!preview) {
    Notify(UnreadableFileText(path, preview.Reason()));
    return false;
  }
  sendFilePath_ = path.toStdString();
  sendFileStamp_ = {stamp.size(), stamp.lastModified()};
  // Shown with the system's own separators (backslashes on Windows).
  const QString shown = QDir::toNativeSeparators(path);
  Label(kSendFileLabel)->setText(QString::fromUtf8(kSendFileLabelText).arg(shown).arg(preview->size));
  Label(kSendFileLabel)->setToolTip(shown);
  // A large file is only ever sent from the disk; its text would swamp the send box.
  SetSendBoxBytes(preview->text.value_or(std::string()));
  return true;
}

void MainDialog::ForgetSendFile() {
  sendFilePath_.clear();
  Label(kSendFileLabel)->setText(QString::fromUtf8(kNoSendFileText));
  Label(kSendFileLabel)->setToolTip(QString());
}

// The chosen file is looked at before every send: one that is gone or cannot be read
// is said and forgotten, and nothing is sent (auto send stops, so that the send box
// is not sent in its place); one that changed is shown again as it is now.
bool MainDialog::SendFileReady() {
  const QString path = QString::fromStdString(sendFilePath_);
  const QFileInfo now(path);
  bool ready = true;
  if (!now.exists()) {
    Notify(QString::fromUtf8(kSendFileGoneText).arg(QDir::toNativeSeparators(path)));
    ready = false;
  } else if (SendFileStamp{now.size(), now.lastModified()} != sendFileStamp_) {
    ready = ShowSendFile(path);
  }
  if (!ready) {
    ForgetSendFile();
    StopAutoSend();
  }
  return ready;
}

void MainDialog::StopAutoSend() {
  CheckBox(kAutoSendCheck)->setChecked(false);
  AutoSendToggled();
}

// The send runs beside the window, which keeps painting and shows the progress; the
// send controls stay disabled until it ends.
// A file sent ends the received block under way, as any frame sent does.
void MainDialog::SendChosenFile() {
  EndBlockNow();
  const QString path = QString::fromStdString(sendFilePath_);
  FileSendProgress progress;
  progress.fileSize = static_cast<std::uint64_t>(QFileInfo(path).size());
  std::atomic<bool> lineError = false;
  const bool echo = preferences_.echoSent;
  const PortWriter write = [&](std::span<const std::uint8_t> bytes) {
    SerialLink::WriteOutcome outcome;
    const std::size_t queued = link_.QueueWriteWaiting(bytes, &outcome, &progress.cancel);
    if (outcome == SerialLink::WriteOutcome::LineError) lineError = true;
    if (echo && queued > 0) EchoFromJob(bytes.first(queued));
    return queued;
  };
  const bool hex = CheckBox(kHexSendCheck)->isChecked();
  FileSendOutcome outcome;
  RunBesideWindow([&] { outcome = SendFile(sendFilePath_, hex, write, progress); }, [&] { progress.cancel = true; },
                  [&] { return FileSendProgressText(path, progress); },
                  [&] {
                    if (outcome.result == FileSendResult::WriteFailed) outbox_.MarkCut();
                    ReportFileSend(outcome, path, lineError);
                    EnableSendControls(true);
                    UpdateStatusLine();
                  });
}

void MainDialog::ReportFileSend(const FileSendOutcome& outcome, const QString& path, bool lineError) {
  if (lineError) Notify(QString::fromUtf8(kWriteErrorText));
  if (outcome.result == FileSendResult::LoneSpace) Notify(QString::fromUtf8(kBadHexFileText));
  hexStop_ = outcome.hexStop;
  if (outcome.result == FileSendResult::Unreadable) {
    Notify(UnreadableFileText(path, outcome.error));
    ForgetSendFile();
    StopAutoSend();
  }
}

}  // namespace portprobe
