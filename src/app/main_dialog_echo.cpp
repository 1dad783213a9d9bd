// The echo of sent frames: with "显示发送" on, every frame sent shows in the receive
// box in the send box's colour, on lines of its own. It is never captured or counted.
#include <QMetaObject>
#include <algorithm>
#include <chrono>

#include "app/main_dialog.h"
#include "ui/plain_text_view.h"

namespace portprobe {

namespace {

// The send box's blue: sent text looks the same in both boxes.
const QColor kEchoColour(0, 0, 180);

}  // namespace

// The echo stands on lines of its own, and only the echo is coloured.
void MainDialog::EchoSent(std::span<const std::uint8_t> bytes) {
  if (!preferences_.echoSent || bytes.empty()) return;
  StartLinesOfTheirOwn();
  receive_.SetColumns(ReceiveBox()->VisibleColumns());
  const std::string text = receive_.Echo(bytes, std::chrono::system_clock::now(), CurrentReceiveDisplay());
  AppendReceiveText(text);
  const std::size_t end = ReceiveBox()->Text().Size();
  ReceiveBox()->AddColouredRange(end - std::min(end, text.size()), end, kEchoColour);
}

void MainDialog::StartLinesOfTheirOwn() {
  if (!ReceiveTextEndsLine()) AppendReceiveText("\r\n");
}

// A file send's pieces are written beside the window; their echo is shown by the
// window's own thread.
void MainDialog::EchoFromJob(std::span<const std::uint8_t> bytes) {
  QMetaObject::invokeMethod(
      this,
      [this, frame = ByteFrame(bytes.begin(), bytes.end())] {
        EndBlockNow();
        EchoSent(frame);
      },
      Qt::QueuedConnection);
}

// The echoed frames never go into the capture file, so "保存接收" leaves them out. The
// receive box colours nothing but the echo.
std::string MainDialog::ReceiveTextWithoutEcho() const {
  const LineIndexedText& text = ReceiveBox()->Text();
  std::string kept;
  std::size_t from = 0;
  for (const ui::PlainTextView::ColouredRange& echo : ReceiveBox()->ColouredRanges()) {
    kept += text.Slice(from, echo.from);
    from = echo.to;
  }
  kept += text.Slice(from, text.Size());
  return kept;
}

bool MainDialog::ReceiveTextEndsLine() const {
  const std::string_view text = ReceiveText();
  return text.empty() || text.back() == '\r' || text.back() == '\n';
}

}  // namespace portprobe
