// Console mode "终端模式": the receive box gives its place to a terminal screen, which
// interprets what the device sends and sends every key typed into it. The receive
// path goes on underneath (capture, counts, blocks, replies, decoding, and the receive
// box's own text), so switching back shows everything as hex or text.
#include "app/main_dialog.h"
#include "ui/console_view.h"
#include "ui/dialog_units.h"
#include "ui/plain_text_view.h"

namespace portprobe {

void MainDialog::ToggleConsole() {
  ShowConsole(!consoleOn_);
  ScheduleSettingsSave();
}

// Switching on starts a clean screen; switching off shows the receive box, which kept
// up meanwhile.
void MainDialog::ShowConsole(bool on) {
  if (on && console_ == nullptr) {
    console_ = new ui::ConsoleView(this);
    connect(console_, &ui::ConsoleView::Typed, this, &MainDialog::ConsoleTyped);
    connect(console_, &ui::ConsoleView::Answer, this, [this](const std::string& utf8) { SendConsoleBytes(utf8); });
  }
  if (console_ == nullptr) return;
  consoleOn_ = on;
  console_->setVisible(on);
  if (on) {
    console_->Reset();
    consoleDecoder_ = std::make_unique<TextDecoder>(preferences_.encoding);
    ApplyConsolePreferences();
    PlaceConsole();
    console_->raise();
    console_->setFocus(Qt::OtherFocusReason);
  } else {
    ReceiveBox()->setFocus(Qt::OtherFocusReason);
  }
  ReceiveBox()->setVisible(!on);
}

bool MainDialog::ConsoleOn() const { return consoleOn_; }

void MainDialog::PlaceConsole() {
  if (console_ != nullptr) console_->setGeometry(ReceiveBox()->geometry());
}

// Enter sends the chosen line end, CR when there is none, as terminals do.
void MainDialog::ApplyConsolePreferences() {
  if (console_ == nullptr) return;
  console_->setFont(ui::FixedPitchFont(BoxFontPointSize()));
  const std::string_view lineEnd = LineEndBytes(preferences_.lineEnd);
  console_->SetEnterBytes(lineEnd.empty() ? "\r" : std::string(lineEnd));
}

void MainDialog::FeedConsole(std::span<const SerialEvent> batches) {
  if (!ConsoleOn()) return;
  consoleDecoder_->SetEncoding(preferences_.encoding);
  std::string text;
  for (const SerialEvent& batch : batches) consoleDecoder_->Decode(batch.bytes, text);
  console_->Feed(text);
}

// A key goes out as a send of its own, through the write queue, so a large paste
// never blocks; "显示发送" shows it on the screen too, as a terminal's local echo.
void MainDialog::ConsoleTyped(const std::string& utf8) {
  if (!IsOpen()) {
    Notify(QString::fromUtf8(resources::kPortNotOpenText));
    return;
  }
  if (preferences_.echoSent) console_->Feed(utf8);
  SendConsoleBytes(utf8);
}

void MainDialog::SendConsoleBytes(const std::string& utf8) {
  if (!IsOpen()) return;
  const std::string bytes = EncodeText(utf8, preferences_.encoding);
  SendFrame(ByteFrame(bytes.begin(), bytes.end()));
}

}  // namespace portprobe
