// Received blocks: the receive path cuts what arrives into blocks by the one block clock
// (a silent line, a send, a full block), and each ended block is handed on at once:
// its receive-check mark, its automatic reply and its live decoding. The silence is
// measured from the tick at which the block's last bytes were read, not from when they
// were shown, so a busy window does not move a block's end.
#include "app/main_dialog.h"
#include "ui/plain_text_view.h"

namespace portprobe {

void MainDialog::SetUpReceivedBlocks() {
  blockDeadlineTimer_.setSingleShot(true);
  // Replies are due within milliseconds of a block's end; a coarse timer may be 5% late.
  blockDeadlineTimer_.setTimerType(Qt::PreciseTimer);
  connect(&blockDeadlineTimer_, &QTimer::timeout, this, &MainDialog::EndSilentBlock);
  ApplyReceivePreferences();
}

// A block that ended is handed on before the next one shows, so its mark, its reply,
// the reply's echo and its decoding stand between the two.
void MainDialog::ShowReceivedBytes(std::span<const SerialEvent> batches) {
  const auto show = [this](std::string_view text, const ReceivePath::EndedBlock* ended) {
    if (!text.empty()) {
      AppendReceiveText(text);
      receivedTextAtBoxEnd_ = true;
    }
    if (ended != nullptr) ReceivedBlockEnded(*ended, true);
  };
  receive_.SetColumns(ReceiveBox()->VisibleColumns());
  const std::optional<ReceivePath::CaptureFailure> failure =
      receive_.Receive(batches, link_.Connection(), CurrentReceiveDisplay(), !ReceiveTextEmpty(), show);
  if (failure) ReportCaptureFailure(*failure);
  PlotReceived(batches);
  FeedConsole(batches);
  ArmBlockDeadline();
}

void MainDialog::ArmBlockDeadline() {
  const std::optional<Tick> deadline = receive_.BlockDeadline();
  if (!deadline) return;
  blockDeadlineTimer_.start(std::max(0, TickDifference(*deadline, CurrentTick()) + 1));
}

// Bytes the link already holds may still belong to the block; they are shown first.
void MainDialog::EndSilentBlock() {
  DrainSerialEvents();
  if (busy_.ReceiveHeld() || !receive_.BacklogEmpty()) {
    blockDeadlineTimer_.start(receive_.FrameGap());
    return;
  }
  if (std::optional<ReceivePath::EndedBlock> ended = receive_.EndIfSilent(CurrentTick())) {
    ReceivedBlockEnded(*ended, true);
  } else {
    ArmBlockDeadline();
  }
}

// A frame sent begins a new exchange, the user's: the block it ends is marked and
// decoded but not answered, so no reply goes out ahead of or inside the user's frames.
// The last block of a closing port is complete and decoded too.
void MainDialog::EndBlockNow() {
  blockDeadlineTimer_.stop();
  if (std::optional<ReceivePath::EndedBlock> ended = receive_.EndBlock()) ReceivedBlockEnded(*ended, false);
}

// The mark goes first, so it stays with its block; automatic replies come before live
// decoding, so nothing delays the reply. A decoding may follow with no reference only
// while the box ends with the block's own bytes and mark.
void MainDialog::ReceivedBlockEnded(const ReceivePath::EndedBlock& ended, bool answer) {
  const bool blockShownLast = receivedTextAtBoxEnd_;
  if (!ended.mark.empty()) {
    AppendReceiveText(ended.mark);
    UpdateStatusLine();
  }
  blockAtBoxEnd_ = blockShownLast ? ended.block.number : 0;
  if (answer) AnswerBlock(ended.block.bytes, ended.block.lastTick);
  DecodeBlockLive(ended.block);
  ShowLiveDecoderOutput();
}

}  // namespace portprobe
