#include "app/responsive_wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace portprobe {

namespace {

constexpr int kPollMilliseconds = 5;

// Runs the event loop, without user input, until finished() or the deadline.
void ProcessEventsUntil(const std::function<bool()>& finished, std::chrono::milliseconds deadline) {
  QElapsedTimer elapsed;
  elapsed.start();
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (finished() || elapsed.elapsed() >= deadline.count()) loop.quit();
  });
  poll.start(kPollMilliseconds);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

bool WaitResponsively(QWidget* parent, ui::Prompter& prompter, const std::function<QString()>& stillRunning,
                      const std::function<bool()>& finished, std::chrono::milliseconds offerAfter) {
  // A dismissed offer comes back after the same time, so the user is never left with
  // a window that waits for ever.
  for (;;) {
    ProcessEventsUntil(finished, offerAfter);
    if (finished()) return true;
    if (prompter.OfferStop(parent, stillRunning, finished) && !finished()) return false;
  }
}

}  // namespace portprobe
