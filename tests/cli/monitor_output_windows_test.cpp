// The monitor's waits and its stdout on Windows, in the test's own process: stdout is
// swapped for a pipe that the test reads or leaves full. A stop is signalled as the
// console's handler signals it on Ctrl-C, which a test under Wine has no console to
// raise (the handler itself is checked by hand: Wine turns SIGINT into Ctrl-C).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "cli/monitor_events.h"
#include "cli/stoppable_output.h"

namespace portprobe::cli {
namespace {

using Clock = std::chrono::steady_clock;
using Result = StoppableOutput::Result;

// Stdout goes into a pipe of one small buffer for the test's life.
class PipedStdout : public ::testing::Test {
 protected:
  PipedStdout() {
    EXPECT_TRUE(::CreatePipe(&read_, &write_, nullptr, 4096));
    ::SetStdHandle(STD_OUTPUT_HANDLE, write_);
  }
  ~PipedStdout() override {
    ::SetStdHandle(STD_OUTPUT_HANDLE, saved_);
    CloseReader();
    ::CloseHandle(write_);
  }
  std::string Read(std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t done = 0;
    DWORD got = 0;
    while (done < count && ::ReadFile(read_, bytes.data() + done, static_cast<DWORD>(count - done), &got, nullptr)) {
      done += got;
    }
    bytes.resize(done);
    return bytes;
  }
  void CloseReader() {
    if (read_ != nullptr) ::CloseHandle(read_);
    read_ = nullptr;
  }

  HANDLE saved_ = ::GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE read_ = nullptr;
  HANDLE write_ = nullptr;
};

void Stop(const MonitorEvents& events) { ::SetEvent(reinterpret_cast<HANDLE>(events.StopHandle())); }

TEST(MonitorEvents, WakeUpsEndAWaitAndAStopEndsEveryLaterOne) {
  MonitorEvents events;
  ASSERT_TRUE(events.Ready());
  EXPECT_FALSE(events.Wait(0));
  std::thread waker([&events] { events.Wake(); });
  EXPECT_FALSE(events.Wait(-1));
  waker.join();
  // A wake-up is taken by one wait only.
  const Clock::time_point start = Clock::now();
  EXPECT_FALSE(events.Wait(100));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(90));

  Stop(events);
  EXPECT_TRUE(events.Wait(10000));
  EXPECT_TRUE(events.Wait(0));
  events.Wake();
  EXPECT_TRUE(events.Wait(-1));
}

TEST_F(PipedStdout, BytesReachStdoutUnchangedAndAGoneReaderFailsTheOutput) {
  const MonitorEvents events;
  StoppableOutput out(events);
  const std::string lines = "12:00:00.000 0D 0A\n\"\r\n\xE4\xB8\xAD\xFF\"\n";
  EXPECT_EQ(out.Write(lines), Result::Written);
  EXPECT_EQ(out.Flush(), Result::Written);
  EXPECT_EQ(Read(lines.size()), lines);

  CloseReader();
  const Result written = out.Write(lines);
  const Result flushed = out.Flush();
  EXPECT_TRUE(written == Result::Failed || flushed == Result::Failed);
  EXPECT_EQ(out.Write(lines), Result::Failed);
}

TEST_F(PipedStdout, AStopEndsTheOutputOnceStdoutTakesNothing) {
  MonitorEvents events;
  StoppableOutput out(events);
  const std::string line(100, 'x');
  // What a reader takes after a stop still goes out.
  std::thread reader([this, &line] { EXPECT_EQ(Read(line.size()), line); });
  EXPECT_EQ(out.Write(line), Result::Written);
  reader.join();

  // Nothing reads on: the pipe and then the queue fill, until a write waits.
  std::thread stopper([&events] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Stop(events);
  });
  const Clock::time_point start = Clock::now();
  Result result = Result::Written;
  for (int i = 0; i < 100000 && result == Result::Written; ++i) result = out.Write(line);
  stopper.join();
  EXPECT_EQ(result, Result::Stopped);
  EXPECT_EQ(out.Flush(), Result::Stopped);
  EXPECT_EQ(out.Write(line), Result::Stopped);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  EXPECT_TRUE(events.Wait(0));
}

}  // namespace
}  // namespace portprobe::cli
