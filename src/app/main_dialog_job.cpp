// Jobs that take long (a file send, a packet-parser run) run on a thread of their own
// while the window keeps painting and offers to stop them.
#include <atomic>
#include <thread>

#include "app/main_dialog.h"
#include "app/responsive_wait.h"

namespace portprobe {

void MainDialog::RunBesideWindow(const std::function<void()>& job, const std::function<void()>& stop,
                                 const std::function<QString()>& stillRunning, const std::function<void()>& finish) {
  busy_.RunJob(stop, [&] {
    std::atomic<bool> finished = false;
    std::thread worker([&] {
      job();
      finished = true;
    });
    if (!WaitResponsively(this, prompter_, stillRunning, [&] { return finished.load(); })) stop();
    worker.join();
  });
  finish();
  FinishDeferredEnds();
}

// A hang-up or the end of the window that came while a job ran waits for the job,
// which may still use the port.
void MainDialog::FinishDeferredEnds() {
  if (busy_.TakeDeferredHangUp()) {
    HandleHangUp();
    ShowPendingNotices();  // now, not with whatever comes next
  }
  if (const std::optional<int> result = busy_.TakeDeferredDone()) done(*result);
}

}  // namespace portprobe
