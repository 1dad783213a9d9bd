// Received blocks: what arrives is cut at the frame gap, as the hex display cuts it,
// and each block is handed on once the line has been silent after it. The deadline is
// measured from the tick at which its last bytes were read, not from when they were
// shown, so a busy window does not move a block's end.
#include "app/main_dialog.h"

namespace portprobe {

void MainDialog::SetUpReceivedBlocks() {
  blockDeadlineTimer_.setSingleShot(true);
  // Replies are due within milliseconds of a block's end; a coarse timer may be 5% late.
  blockDeadlineTimer_.setTimerType(Qt::PreciseTimer);
  connect(&blockDeadlineTimer_, &QTimer::timeout, this, &MainDialog::EndSilentBlock);
}

// A block that ended is handed on before the next one shows, so its reply, the reply's
// echo and its decoding stand between the two and the receive check marks each whole.
// Bytes of a connection closed since are shown but start no block on the new one.
void MainDialog::ShowReceivedBytes(std::span<const SerialEvent> batches) {
  std::size_t shown = 0;
  for (std::size_t i = 0; i < batches.size(); ++i) {
    const SerialEvent& batch = batches[i];
    if (batch.kind != SerialEvent::Kind::Batch || batch.connection != link_.Connection()) continue;
    if (receivedBlocks_.EndedBy(batch.tick)) {
      ShowBatches(batches.subspan(shown, i - shown));
      shown = i;
      EndBlockNow();
    }
    // A line that never pauses fills a block, which ends with this batch.
    if (std::optional<ByteFrame> full = receivedBlocks_.Add(batch.bytes, batch.tick)) {
      ShowBatches(batches.subspan(shown, i + 1 - shown));
      shown = i + 1;
      ReceivedBlockEnded(*full, batch.tick);
    }
  }
  ShowBatches(batches.subspan(shown));
  ArmBlockDeadline();
}

void MainDialog::ArmBlockDeadline() {
  const std::optional<Tick> deadline = receivedBlocks_.Deadline();
  if (!deadline) return;
  blockDeadlineTimer_.start(std::max(0, TickDifference(*deadline, CurrentTick()) + 1));
}

// Bytes the link already holds may still belong to the block; they are shown first.
void MainDialog::EndSilentBlock() {
  DrainSerialEvents();
  if (busy_.ReceiveHeld() || !receive_.BacklogEmpty()) {
    blockDeadlineTimer_.start(receivedBlocks_.Gap());
    return;
  }
  const Tick lastTick = receivedBlocks_.LastTick();
  if (std::optional<ByteFrame> ended = receivedBlocks_.EndIfSilent(CurrentTick())) {
    ReceivedBlockEnded(*ended, lastTick);
  } else {
    ArmBlockDeadline();
  }
}

// The last block of a closing port is complete: it is decoded, though no longer answered.
void MainDialog::EndBlockAtClose() {
  blockDeadlineTimer_.stop();
  EndBlockNow();
}

void MainDialog::EndBlockNow() {
  const Tick lastTick = receivedBlocks_.LastTick();
  if (std::optional<ByteFrame> ended = receivedBlocks_.EndNow()) ReceivedBlockEnded(*ended, lastTick);
}

// Automatic replies and live decoding act on every ended block; decoder output that
// waited for the block to end is shown after it.
void MainDialog::ReceivedBlockEnded(const ByteFrame& block, Tick lastTick) {
  AnswerBlock(block, lastTick);
  DecodeBlockLive(block);
  ShowLiveDecoderOutput();
}

}  // namespace portprobe
