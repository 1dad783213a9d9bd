// Jobs that take long (a file send, a packet-parser run) run on a thread of their own
// while the window keeps painting and offers to stop them.
#include <atomic>
#include <thread>

#include "app/main_dialog.h"
#include "app/responsive_wait.h"

namespace portprobe {

void MainDialog::RunBesideWindow(const std::function<void()>& job, const std::function<void()>& stop,
                                 const std::function<QString()>& stillRunning, const std::function<void()>& finish) {
  std::atomic<bool> finished = false;
  stopActiveJob_ = stop;
  std::thread worker([&] {
    job();
    finished = true;
  });
  if (!WaitResponsively(this, prompter_, stillRunning, [&] { return finished.load(); })) stop();
  worker.join();
  stopActiveJob_ = nullptr;
  finish();
  FinishDeferredEnds();
}

// A hang-up or the end of the window that came while a job ran waits for the job,
// which may still use the port.
void MainDialog::FinishDeferredEnds() {
  if (hangUpDeferred_) {
    hangUpDeferred_ = false;
    HandleHangUp();
    ShowPendingNotices();  // now, not with whatever comes next
  }
  if (deferredDone_) {
    const int result = *deferredDone_;
    deferredDone_.reset();
    done(result);
  }
}

}  // namespace portprobe
