#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace portprobe {

// What the window is busy with, and the re-entrancy rules that follow from it. A job
// beside the window and a message box both run their own event loop, in which timers,
// port events and the close box still arrive.
//
// Invariants:
// - At most one job runs at a time; its stop request is held only while it runs.
// - A hang-up or the window's end that arrives while a job runs is deferred, never
//   acted on meanwhile: the job may still use the port. Each is taken once, after the
//   job has ended.
// - While receive is held, received events stay with the link, so nothing is shown
//   between the lines of a job's own output.
// - Notices are shown one at a time by one loop; a notice raised while one shows
//   waits for that loop, so message boxes never stack.
// - An automatic send waits while a notice shows or a job runs, so sends never
//   overlap or pile up.
class BusyState {
 public:
  // Runs `wait` (which returns once the job has ended) with `stop` as the job's stop
  // request.
  void RunJob(std::function<void()> stop, const std::function<void()>& wait);
  bool JobRunning() const { return static_cast<bool>(stopJob_); }

  // The window is to end with `result`: while a job runs, asks it to stop, keeps the
  // result and returns true; the window then ends once the job has ended.
  bool DeferDone(int result);
  // True when a hang-up must wait for the running job.
  bool DeferHangUp();
  // What was deferred, each given once.
  bool TakeDeferredHangUp();
  std::optional<int> TakeDeferredDone();

  void HoldReceive(bool hold) { receiveHeld_ = hold; }
  bool ReceiveHeld() const { return receiveHeld_; }

  void AddNotice(std::string text) { pendingNotices_.push_back(std::move(text)); }
  // Adds `text` unless it already waits: a line in trouble reports on every read.
  void AddNoticeOnce(const std::string& text);
  // Shows the waiting notices in order through `show`, unless a loop is showing them
  // already; `show` may add notices and call this again.
  void ShowNotices(const std::function<void(const std::string&)>& show);
  bool ShowingNotices() const { return showingNotices_; }

  bool AutoSendMayRun() const { return !showingNotices_ && !JobRunning(); }

 private:
  std::function<void()> stopJob_;
  bool hangUpDeferred_ = false;
  std::optional<int> deferredDone_;
  bool receiveHeld_ = false;
  std::vector<std::string> pendingNotices_;
  bool showingNotices_ = false;
};

}  // namespace portprobe
