// Sends leave the window through the link's bounded write queue: the window only
// queues, so a device that takes nothing never holds it up.
#include "app/main_dialog.h"
#include "resources/strings.h"

namespace portprobe {

namespace {

constexpr int kWriteWatchMilliseconds = 250;

}  // namespace

// Bytes written are counted towards the send under way until everything queued has
// gone out; a send that starts after that counts afresh.
void MainDialog::BeginSend() {
  if (OutboxEmpty() && link_.QueuedWriteBytes() == 0) {
    writtenThisSend_ = 0;
    sendCut_ = false;
  }
  WatchWrites();
}

void MainDialog::QueueSend(const ByteFrame& bytes) {
  outbox_.insert(outbox_.end(), bytes.begin(), bytes.end());
  FeedOutbox();
}

// Hands on what the link has room for. A line error discards the send, as does a port
// that is closed or gone, quietly, since that is reported where it is found.
void MainDialog::FeedOutbox() {
  if (OutboxEmpty()) return;
  SerialLink::WriteOutcome outcome;
  outboxQueued_ += link_.QueueWrite(outbox_.data() + outboxQueued_, outbox_.size() - outboxQueued_, &outcome);
  if (outcome == SerialLink::WriteOutcome::LineError) busy_.AddNoticeOnce(resources::kWriteErrorText);
  if (outcome != SerialLink::WriteOutcome::Queued || OutboxEmpty()) DropOutbox();
}

// Returns the count of bytes that were never handed on. The send controls, held while
// a send waits here, come back.
std::size_t MainDialog::DropOutbox() {
  const std::size_t dropped = outbox_.size() - outboxQueued_;
  outbox_.clear();
  outbox_.shrink_to_fit();
  outboxQueued_ = 0;
  EnableSendControls(true);
  return dropped;
}

bool MainDialog::SendQueueFull() const { return !OutboxEmpty() || link_.WriteQueueFull(); }

void MainDialog::WatchWrites() {
  if (!writeWatchTimer_.isActive()) writeWatchTimer_.start(kWriteWatchMilliseconds);
}

// Runs only while bytes are on their way, so an idle window does no work.
void MainDialog::WriteWatchTick() {
  UpdateStatusLine();
  if (OutboxEmpty() && link_.QueuedWriteBytes() == 0 && !busy_.JobRunning()) writeWatchTimer_.stop();
}

}  // namespace portprobe
