// Measures how soon the window answers a request by its rules: the time from the
// block's end (the request's last byte written at the far end plus the frame gap) to
// the reply's first byte read there. Replies are due within 10 ms of the block's end.
//
//   auto_reply_latency [--rounds N]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/reply_rules_window.h"
#include "integer_option.h"
#include "window_under_test.h"

namespace portprobe {
namespace {

using Clock = std::chrono::steady_clock;

const ByteFrame kRequest{0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB};
constexpr std::size_t kReplySize = 11;  // 01 03 06 00 EA 01 90 00 01 F8 B3
constexpr const char kRules[] = "01 03 00 00 00 03 ?? ?? -> 01 03 06 00 EA 01 90 00 01 +crc16-modbus\n";

// Plays the device: sends the request, waits for the whole reply and notes how long
// after the block's end its first byte came; -1: no reply within a second.
std::vector<double> PlayDevice(int fd, int rounds, int gapMs) {
  std::vector<double> late;
  for (int round = 0; round < rounds; ++round) {
    // Taken before the write: a device thread that loses the processor after it would
    // make the reply look early, this way it can only look late.
    const Clock::time_point blockEnd = Clock::now() + std::chrono::milliseconds(gapMs);
    testing::WriteAll(fd, kRequest);
    std::size_t got = 0;
    Clock::time_point first{};
    while (got < kReplySize) {
      pollfd device{fd, POLLIN, 0};
      if (::poll(&device, 1, 1000) <= 0) break;
      std::uint8_t buffer[64];
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      if (got == 0) first = Clock::now();
      got += static_cast<std::size_t>(n);
    }
    late.push_back(got < kReplySize ? -1.0 : std::chrono::duration<double, std::milli>(first - blockEnd).count());
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * gapMs));
  }
  return late;
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

void Run(int gapMs, int rounds) {
  bench::WindowUnderTest window;
  if (!window.ready) {
    std::printf("the window did not open its port\n");
    return;
  }
  Preferences preferences = window.dialog.CurrentPreferences();
  preferences.frameGapMilliseconds = gapMs;
  window.dialog.SetPreferences(preferences);
  window.dialog.RepliesWindow()->SetRulesText(kRules);

  std::vector<double> late;
  std::atomic<bool> done = false;
  std::thread device([&] {
    late = PlayDevice(window.pty.MasterFd(), rounds, gapMs);
    done = true;
  });
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done) loop.quit();
  });
  poll.start(10);
  loop.exec();
  device.join();

  const auto missed = std::count(late.begin(), late.end(), -1.0);
  std::erase(late, -1.0);
  if (late.empty()) {
    std::printf("%8d %8d %10s\n", gapMs, rounds, "no reply");
    return;
  }
  std::printf("%8d %8d %10.2f %10.2f %10.2f %10.2f %8lld\n", gapMs, rounds, Percentile(late, 0.0),
              Percentile(late, 0.5), Percentile(late, 0.9), Percentile(late, 1.0), static_cast<long long>(missed));
  std::fflush(stdout);
}

}  // namespace
}  // namespace portprobe

int main(int argc, char** argv) {
  using namespace portprobe;
  const int rounds = static_cast<int>(std::max(1LL, bench::IntegerOption(argc, argv, "--rounds", 50)));
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  std::printf("reply after the block's end (request written + frame gap), milliseconds\n");
  std::printf("%8s %8s %10s %10s %10s %10s %8s\n", "gap ms", "rounds", "min", "median", "p90", "max", "missed");
  for (const int gapMs : {100, 20, 5}) Run(gapMs, rounds);
  return 0;
}
