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

void MainDialog::SplitReceivedBlocks(std::span<const SerialEvent> batches) {
  for (const SerialEvent& batch : batches) {
    if (batch.kind != SerialEvent::Kind::Batch) continue;
    if (std::optional<ByteFrame> ended = receivedBlocks_.Add(batch.bytes, batch.tick)) ReceivedBlockEnded(*ended);
  }
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
  if (std::optional<ByteFrame> ended = receivedBlocks_.EndIfSilent(CurrentTick())) {
    ReceivedBlockEnded(*ended);
  } else {
    ArmBlockDeadline();
  }
}

// Automatic replies and live decoding act on every ended block.
void MainDialog::ReceivedBlockEnded(const ByteFrame& block) {
  AnswerBlock(block);
  DecodeBlockLive(block);
}

}  // namespace portprobe
