// Key-to-wire time of Alt+S ("手动发送&S"): from a key press posted to the window to
// the send box's frame read at the far end of a pseudo-terminal. Measured with the
// window idle and while the device floods it with 16 MiB rounds of random bytes; each
// case reports its median in milliseconds as `median_ms`. The console cases time a
// letter typed into "终端模式", idle and while the device floods it with a colourful log.
//
//   key_to_wire [Google Benchmark options]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <utility>
#include <thread>
#include <vector>

#include "app/tools_menu.h"
#include "colour_log.h"
#include "support/pty_pair.h"
#include "window_under_test.h"

namespace portprobe {
namespace {

constexpr std::size_t kFrameBytes = 11;  // "0b 03 07 00 34 12 00 00 01 01 00"
constexpr std::size_t kFloodRoundBytes = std::size_t{16} << 20;

// Writes random bytes into the device side for as long as it lives, in rounds of
// 16 MiB, as fast as the terminal takes them.
class Flood {
 public:
  Flood(int fd, std::vector<std::uint8_t> block) : fd_(fd), block_(std::move(block)), thread_([this] { Run(); }) {}
  ~Flood() {
    stop_ = true;
    thread_.join();
  }
  Flood(const Flood&) = delete;
  Flood& operator=(const Flood&) = delete;

 private:
  void Run() {
    const std::vector<std::uint8_t>& block = block_;
    std::size_t round = 0;
    while (!stop_) {
      pollfd writable{fd_, POLLOUT, 0};
      if (::poll(&writable, 1, 20) <= 0) continue;
      const std::size_t offset = round % block.size();
      const ssize_t written = ::write(fd_, block.data() + offset, block.size() - offset);
      if (written > 0) round = (round + static_cast<std::size_t>(written)) % kFloodRoundBytes;
    }
  }

  int fd_;
  std::vector<std::uint8_t> block_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

std::size_t ReadAvailable(int fd) {
  std::uint8_t buffer[256];
  const ssize_t got = ::read(fd, buffer, sizeof buffer);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// Posts the case's key to the window and runs its event loop until its bytes have
// reached the far end.
double PressKey(bench::WindowUnderTest& window, bool console) {
  const auto start = std::chrono::steady_clock::now();
  if (console) {
    window.PostKey(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  } else {
    window.PostKey(Qt::Key_S, Qt::AltModifier, QStringLiteral("s"));
  }
  const std::size_t expected = console ? 1 : kFrameBytes;
  std::size_t received = 0;
  while (received < expected) {
    QCoreApplication::processEvents();
    received += ReadAvailable(window.pty.MasterFd());
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void KeyToWire(benchmark::State& state, bool flooded, bool console) {
  bench::WindowUnderTest window;
  if (console) {
    window.prompter.menuChoices.push_back(tools::kConsole);
    QTest::mouseClick(&window.dialog, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  }
  ::fcntl(window.pty.MasterFd(), F_SETFL, O_NONBLOCK);
  if (!window.ready) {
    state.SkipWithError("the window did not come up with its port open");
    return;
  }
  std::optional<Flood> flood;
  if (flooded) {
    flood.emplace(window.pty.MasterFd(),
                  console ? bench::ColourLog() : testing::RandomBytes(std::size_t{64} << 10, 7));
  }
  std::vector<double> samples;
  for (auto _ : state) {
    const double ms = PressKey(window, console);
    state.SetIterationTime(ms / 1000);
    samples.push_back(ms);
  }
  flood.reset();
  std::sort(samples.begin(), samples.end());
  state.counters["median_ms"] = samples[samples.size() / 2];
  state.counters["max_ms"] = samples.back();
}

BENCHMARK_CAPTURE(KeyToWire, idle, false, false)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KeyToWire, flood, true, false)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KeyToWire, console_idle, false, true)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KeyToWire, console_flood, true, true)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace portprobe
