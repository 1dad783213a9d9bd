// Manual send and the buttons that rewrite the send box.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "app/main_dialog.h"
#include "app/window_checksum_host.h"
#include "checksum/checksum_engine.h"
#include "codec/hex_codec.h"
#include "codec/hex_format.h"
#include "codec/send_text.h"
#include "codec/text_encoding.h"
#include "common/fill_text.h"
#include "common/utf8_bytes.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

namespace {

// Larger data goes out as a file; the cap keeps a paste from swelling the window.
constexpr std::size_t kSendBoxLimit = std::size_t{4} << 20;
constexpr std::size_t kMaxHexConversion = 1024;
constexpr std::size_t kMaxCharConversion = 4096;
const QString kTooLong = QString::fromUtf8(kTooLongText);

// A text send: the text in the chosen encoding, then the chosen line end.
ByteFrame TextSendBytes(std::string_view text, const Preferences& preferences) {
  std::string bytes = EncodeText(text, preferences.encoding);
  bytes += LineEndBytes(preferences.lineEnd);
  return ByteFrame(bytes.begin(), bytes.end());
}

}  // namespace

// The plain-text view lays out only the lines in sight and splits very long ones, so a
// big paste neither freezes the window nor costs it anything once it rests.
void MainDialog::SetUpSendBox() {
  auto* box = new ui::PlainTextView(this);
  box->setFont(ui::FixedPitchFont(font().pointSize()));
  box->SetWantReturn(true);
  box->SetEditLimit(kSendBoxLimit);
  box->SetMenuRunner([this](QMenu& menu, const QPoint& at) { return prompter_.ExecMenu(menu, at); });
  ReplaceControl(kSendBox, box);
  connect(box, &ui::PlainTextView::EditRefused, this, [this] { Notify(QString::fromUtf8(kSendBoxFullText)); });
}

ui::PlainTextView* MainDialog::SendBox() const { return TextView(kSendBox); }

std::string MainDialog::SendBoxBytes() const { return ToWireText(SendBox()->Text().All()); }

void MainDialog::SetSendBoxBytes(const std::string& bytes) {
  SendBox()->SetText(FromWireText(bytes));
  ScheduleSettingsSave();
}

void MainDialog::EnableSendControls(bool enabled) {
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) Button(id)->setEnabled(enabled);
}

// The bytes are only queued; TxCount grows as the device takes them. The send controls
// stay disabled while part of the send waits for room.
void MainDialog::SendText(const std::string& text) {
  hexStop_.reset();
  SendFrame(CheckBox(kHexSendCheck)->isChecked() ? HexFrame(text) : TextSendBytes(text, preferences_));
}

// The grammar stays as other tools know it, reading up to the first pair that is no
// byte; what it left unread is said, counted in characters of the box's lines.
ByteFrame MainDialog::HexFrame(const std::string& text) {
  HexStreamDecoder decoder;
  ByteFrame frame = decoder.Feed(FromWireText(text));
  hexStop_ = decoder.Stop();
  return frame;
}

QString MainDialog::HexStopNotice() const {
  if (!hexStop_) return {};
  return QLatin1Char(' ') + QString::fromStdString(FillText(
                                kHexStopsSentText, {std::to_string(hexStop_->character), std::to_string(hexStop_->bytesBefore)}));
}

// Selects the characters from where reading stopped to the end of their word.
void MainDialog::MarkHexStop(const HexTextStop& stop) {
  const std::string_view text = SendBox()->Text().All();
  std::size_t from = 0;
  for (std::size_t seen = 0; from < text.size(); ++from) {
    if (!IsUtf8Continuation(text[from]) && ++seen == stop.character) break;
  }
  const std::size_t to = std::min(text.find_first_of(" \n", from), text.size());
  SendBox()->SetSelection(from, to);
}

void MainDialog::SendFrame(const ByteFrame& bytes) {
  BeginSend();
  QueueSend(bytes);
  EnableSendControls(outbox_.Empty());
  UpdateStatusLine();
  ShowPendingNotices();
}

void MainDialog::ManualSend() {
  if (!IsOpen()) {
    Notify(QString::fromUtf8(kPortNotOpenText));
    return;
  }
  const bool fromFile = !sendFilePath_.empty();
  if (fromFile && !SendFileReady()) return;
  EnableSendControls(false);
  BeginSend();
  if (fromFile) {
    SendChosenFile();
    return;
  }
  SendText(SendBoxBytes());
  if (hexStop_) MarkHexStop(*hexStop_);
}

ByteFrame MainDialog::ParseSendBox() const { return ParseHexText(SendBoxBytes()); }

void MainDialog::ApplyChecksum() {
  if (!CheckBox(kHexSendCheck)->isChecked()) {
    Notify(QString::fromUtf8(kChecksumNeedsHexText));
    return;
  }
  const ChecksumType row = ComboBox(kChecksumList)->currentIndex();
  if (row == kNoChecksum) return;
  ByteFrame frame = ParseSendBox();
  WindowChecksumHost host(this, prompter_);
  AppendChecksum(frame, row, host, options_.checksumProgramDirectory);
  SetSendBoxBytes(FormatHexBytes(frame));
}

// The hex of the text's bytes in the chosen encoding.
void MainDialog::ConvertToHex() {
  const std::string bytes = EncodeText(SendBoxBytes(), preferences_.encoding);
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
  // The decoded bytes are taken as a zero-terminated text in the chosen encoding.
  const auto end = std::find(frame.begin(), frame.end(), 0);
  SetSendBoxBytes(DecodeText({frame.data(), static_cast<std::size_t>(end - frame.begin())}, preferences_.encoding));
}

void MainDialog::ClearSend() {
  ForgetSendFile();
  SendBox()->Clear();
}

}  // namespace portprobe
