#include "app/responsive_wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace portprobe {

namespace {

constexpr int kPollMilliseconds = 5;

// Runs the event loop, without user input, until finished() or the deadline (if any).
void ProcessEventsUntil(const std::function<bool()>& finished, std::chrono::milliseconds deadline) {
  QElapsedTimer elapsed;
  elapsed.start();
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (finished() || (deadline.count() >= 0 && elapsed.elapsed() >= deadline.count())) loop.quit();
  });
  poll.start(kPollMilliseconds);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

bool WaitResponsively(QWidget* parent, ui::Prompter& prompter, const std::function<QString()>& stillRunning,
                      const std::function<bool()>& finished, std::chrono::milliseconds offerAfter) {
  if (finished()) return true;
  ProcessEventsUntil(finished, offerAfter);
  if (finished()) return true;
  if (prompter.OfferStop(parent, stillRunning, finished) && !finished()) return false;
  ProcessEventsUntil(finished, std::chrono::milliseconds(-1));
  return true;
}

}  // namespace portprobe
