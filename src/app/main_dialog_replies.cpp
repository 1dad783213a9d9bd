// Automatic replies: a received block that a rule matches is answered as soon as the
// block has ended. The reply is only queued, so the block's end is its only delay.
#include "app/main_dialog.h"
#include "app/reply_rules_window.h"

namespace portprobe {

namespace {

// A block seen this long after its end (a parser run from the menu held received data
// back) is not answered: the device has long stopped waiting, and a burst of late
// replies would be taken for answers to its later requests.
constexpr std::int32_t kLateReplyMilliseconds = 500;

}  // namespace

// Made with the window, since the remembered rules live in it; placed beside it when
// first shown.
QWidget* MainDialog::RepliesWindowWidget() const { return repliesWindow_; }

void MainDialog::ShowRepliesWindow() { repliesSide_.Show(); }

// While a file is sent beside the window the line is its own: a reply would land in
// the middle of the file's bytes. Replies do not pile up while the device takes nothing.
void MainDialog::AnswerBlock(const ByteFrame& block, Tick lastTick) {
  if (!IsOpen() || busy_.JobRunning() || SendQueueFull()) return;
  if (TickDifference(CurrentTick(), lastTick) > receive_.FrameGap() + kLateReplyMilliseconds) return;
  const ReplyRule* rule = autoReplies_.Answer(block);
  if (!rule) return;
  QueueSend(rule->reply);
  repliesWindow_->ShowHits();
}

}  // namespace portprobe
