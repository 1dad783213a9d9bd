#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <ostream>

// Lets gtest show texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace portprobe::testing {

// Runs the event loop until `done` holds or `timeoutMs` have passed; whether it holds.
// (Qt's own waiting checks report through QTest, which a gtest run does not see.)
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

// Whether the event loop gets round to a call posted just before `action` within
// `timeoutMs` (stretched under valgrind, which runs code some fifty times slower): the
// window answers its user through whatever the action starts.
inline bool AnswersWithin(int timeoutMs, const std::function<void()>& action) {
  const int slowdown = std::getenv("PORTPROBE_UNDER_VALGRIND") != nullptr ? 50 : 1;
  QDeadlineTimer deadline(static_cast<qint64>(timeoutMs) * slowdown);
  bool answered = false;
  QTimer::singleShot(0, [&answered] { answered = true; });
  action();
  return WaitUntil([&answered] { return answered; }, static_cast<int>(deadline.remainingTime()));
}

}  // namespace portprobe::testing

// Waits for `actual == expected` and reports both through gtest when it never holds.
#define EXPECT_EVENTUALLY_EQ_WITHIN(actual, expected, timeoutMs)                                    \
  EXPECT_TRUE(::portprobe::testing::WaitUntil([&] { return (actual) == (expected); }, (timeoutMs))) \
      << #actual " is " << ::testing::PrintToString(actual) << ", expected " << ::testing::PrintToString(expected)
#define EXPECT_EVENTUALLY_EQ(actual, expected) EXPECT_EVENTUALLY_EQ_WITHIN(actual, expected, 5000)
