// Sends leave the window through the link's bounded write queue: the window only
// queues, so a device that takes nothing never holds it up.
#include "app/main_dialog.h"
#include "resources/strings.h"

namespace portprobe {

namespace {

constexpr int kWriteWatchMilliseconds = 250;

}  // namespace

void MainDialog::BeginSend() {
  outbox_.BeginSend(link_.QueuedWriteBytes() == 0);
  WatchWrites();
}

// A frame sent ends the received block under way: a request begins a new exchange. A
// frame for a closed port goes nowhere, so it is not echoed.
void MainDialog::QueueSend(const ByteFrame& bytes) {
  EndBlockNow();
  if (IsOpen()) EchoSent(bytes);
  outbox_.Add(bytes);
  FeedOutbox();
}

// Hands on what the link has room for. A line error discards the send, as does a port
// that is closed or gone, quietly, since that is reported where it is found.
void MainDialog::FeedOutbox() {
  if (outbox_.Empty()) return;
  SerialLink::WriteOutcome outcome;
  outbox_.Handed(link_.QueueWrite(outbox_.Pending(), &outcome));
  if (outcome == SerialLink::WriteOutcome::LineError) busy_.AddNoticeOnce(resources::kWriteErrorText);
  if (outcome != SerialLink::WriteOutcome::Queued || outbox_.Empty()) DropOutbox();
}

// Returns the count of bytes that were never handed on. The send controls, held while
// a send waits here, come back.
std::size_t MainDialog::DropOutbox() {
  const std::size_t dropped = outbox_.Drop();
  EnableSendControls(true);
  return dropped;
}

bool MainDialog::SendQueueFull() const { return !outbox_.Empty() || link_.WriteQueueFull(); }

void MainDialog::WatchWrites() {
  if (!writeWatchTimer_.isActive()) writeWatchTimer_.start(kWriteWatchMilliseconds);
}

// Runs only while bytes are on their way, so an idle window does no work.
void MainDialog::WriteWatchTick() {
  UpdateStatusLine();
  if (outbox_.Empty() && link_.QueuedWriteBytes() == 0 && !busy_.JobRunning()) writeWatchTimer_.stop();
}

}  // namespace portprobe
