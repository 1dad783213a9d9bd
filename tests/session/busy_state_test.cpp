#include "session/busy_state.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

TEST(BusyState, EndsThatArriveDuringAJobWaitForItAndComeOnce) {
  BusyState busy;
  // Without a job nothing is deferred.
  EXPECT_FALSE(busy.DeferDone(1));
  EXPECT_FALSE(busy.DeferHangUp());
  EXPECT_FALSE(busy.TakeDeferredHangUp());

  int stops = 0;
  busy.RunJob([&] { ++stops; },
              [&] {
                EXPECT_TRUE(busy.JobRunning());
                EXPECT_FALSE(busy.AutoSendMayRun());
                EXPECT_TRUE(busy.DeferHangUp());
                EXPECT_TRUE(busy.DeferDone(5));
                // Nothing deferred is acted on while the job may still use the port.
                EXPECT_TRUE(busy.JobRunning());
              });
  EXPECT_EQ(stops, 1);  // the window's end asks the job to stop
  EXPECT_FALSE(busy.JobRunning());
  EXPECT_TRUE(busy.AutoSendMayRun());
  EXPECT_TRUE(busy.TakeDeferredHangUp());
  EXPECT_FALSE(busy.TakeDeferredHangUp());
  EXPECT_EQ(busy.TakeDeferredDone(), std::optional<int>(5));
  EXPECT_FALSE(busy.TakeDeferredDone());
}

TEST(BusyState, NoticesRaisedWhileOneShowsWaitForThatLoop) {
  BusyState busy;
  std::vector<std::string> shown;
  int depth = 0;
  int deepest = 0;
  busy.AddNotice("first");
  busy.AddNoticeOnce("line");
  busy.AddNoticeOnce("line");
  busy.ShowNotices([&](const std::string& text) {
    deepest = std::max(deepest, ++depth);
    shown.push_back(text);
    EXPECT_TRUE(busy.ShowingNotices());
    EXPECT_FALSE(busy.AutoSendMayRun());
    if (text == "first") {
      // A message box's own event loop finds another failure and tries to show it.
      busy.AddNotice("during");
      busy.ShowNotices([&](const std::string& inner) { shown.push_back("nested " + inner); });
    }
    --depth;
  });
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(shown, (std::vector<std::string>{"first", "line", "during"}));
  EXPECT_FALSE(busy.ShowingNotices());
  // Once shown, the same notice may come again.
  busy.AddNoticeOnce("line");
  busy.ShowNotices([&](const std::string& text) { shown.push_back(text); });
  EXPECT_EQ(shown.back(), "line");
}

}  // namespace
}  // namespace portprobe
