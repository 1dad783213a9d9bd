// Manual send and the buttons that rewrite the send box.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "app/main_dialog.h"
#include "app/window_checksum_host.h"
#include "checksum/checksum_engine.h"
#include "checksum/hex_format.h"
#include "resources/control_ids.h"
#include "send/hex_codec.h"
#include "send/send_text.h"

namespace portprobe {

using namespace resources;

namespace {

constexpr std::size_t kMaxHexConversion = 1024;
constexpr std::size_t kMaxCharConversion = 4096;
const QString kTooLong = QStringLiteral("Too Long Data To Do!");

}  // namespace

std::string MainDialog::SendBoxBytes() const {
  return ToWireText(MultiLineEdit(kSendBox)->toPlainText().toStdString());
}

void MainDialog::SetSendBoxBytes(const std::string& bytes) {
  MultiLineEdit(kSendBox)->setPlainText(QString::fromStdString(FromWireText(bytes)));
}

void MainDialog::EnableSendControls(bool enabled) {
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) Button(id)->setEnabled(enabled);
}

// The bytes are only queued; TxCount grows as the device takes them. The send controls
// stay disabled while part of the send waits for room.
void MainDialog::SendText(const std::string& text) {
  BeginSend();
  QueueSend(CheckBox(kHexSendCheck)->isChecked() ? ParseHexText(text) : ByteFrame(text.begin(), text.end()));
  EnableSendControls(OutboxEmpty());
  UpdateStatusLine();
  ShowPendingNotices();
}

void MainDialog::ManualSend() {
  if (!IsOpen()) {
    Notify(QStringLiteral("串口未打开！"));
    return;
  }
  EnableSendControls(false);
  BeginSend();
  if (SendFileChosen()) {
    SendChosenFile();
    return;
  }
  SendText(SendBoxBytes());
}

ByteFrame MainDialog::ParseSendBox() const { return ParseHexText(SendBoxBytes()); }

void MainDialog::ApplyChecksum() {
  if (!CheckBox(kHexSendCheck)->isChecked()) {
    Notify(QStringLiteral("十六进制发送才可计算校验和!"));
    return;
  }
  const ChecksumType row = ComboBox(kChecksumList)->currentIndex();
  if (row == kNoChecksum) return;
  ByteFrame frame = ParseSendBox();
  WindowChecksumHost host(this, prompter_);
  AppendChecksum(frame, row, host, options_.checksumProgramDirectory);
  SetSendBoxBytes(FormatHexBytes(frame));
}

void MainDialog::ConvertToHex() {
  const std::string bytes = SendBoxBytes();
  if (bytes.size() > kMaxHexConversion) {
    Notify(kTooLong);
    return;
  }
  SetSendBoxBytes(FormatHexBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
}

void MainDialog::ConvertToChars() {
  const std::string text = SendBoxBytes();
  if (text.size() > kMaxCharConversion) {
    Notify(kTooLong);
    return;
  }
  const ByteFrame frame = ParseHexText(text);
  // The decoded bytes are taken as a zero-terminated text.
  const auto end = std::find(frame.begin(), frame.end(), 0);
  SetSendBoxBytes(std::string(frame.begin(), end));
}

void MainDialog::ClearSend() {
  sendFilePath_.clear();
  Label(kSendFileLabel)->clear();
  MultiLineEdit(kSendBox)->clear();
}

}  // namespace portprobe
