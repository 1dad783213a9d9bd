// Floods the running receive path of the main window through a pseudo-terminal (or
// the same served by ser2net on the loopback address, opened as rfc2217:// or tcp://)
// and reports, as medians over several runs: the sustained rate in MB/s, the longest
// stall of the event loop while the flood lasts, and the peak resident memory. One row
// reads ser2net with a plain socket and no window: the most the server delivers here.
//
//   receive_flood [--megabytes N] [--runs N]
//
// Every run is a separate process (the same program with --setup).
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/main_dialog.h"
#include "app/tools_menu.h"
#include "colour_log.h"
#include "integer_option.h"
#include "process_memory.h"
#include "resources/control_ids.h"
#include "support/ports_first.h"
#include "support/pty_pair.h"
#include "support/ser2net_server.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using namespace resources;

struct Setup {
  const char* name;
  bool hex;
  bool capture;
  bool waveView = false;  // "波形显示" open, reading the flood's lines
  bool console = false;   // "终端模式" on, reading a colourful log
  // The pseudo-terminal served by ser2net; ServerAlone reads it with no window.
  enum class Served { No, Rfc2217, Tcp, ServerAlone } served = Served::No;
};

struct Result {
  double megabytesPerSecond = 0;
  double longestStallMs = 0;
  // The first bytes shown may make the text engine look for fonts for new scripts once.
  double longestLaterStallMs = 0;
  double peakMegabytes = 0;
};

constexpr int kTickMs = 5;
constexpr int kGiveUpMs = 120000;

// One mebibyte, written over and over: making the stream must not take the processor
// time that the terminal is measured on.
void WriteStream(const testing::PtyPair& pty, int megabytes, bool colourLog) {
  static const std::vector<std::uint8_t> random = testing::RandomBytes(std::size_t{1} << 20, 7);
  static const std::vector<std::uint8_t> log = bench::ColourLog();
  for (int piece = 0; piece < megabytes; ++piece) pty.Write(colourLog ? log : random);
}

// ser2net's raw TCP port read by a plain socket as fast as it delivers.
Result RunServerAlone(int megabytes) {
  const auto total = static_cast<std::int64_t>(megabytes) << 20;
  testing::PtyPair pty;
  testing::Ser2netServer server(pty.SlavePath(), testing::Ser2netServer::Accepter::Tcp);
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(server.Port());
  if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return {};
  QElapsedTimer clock;
  clock.start();
  std::thread device([&] { WriteStream(pty, megabytes, false); });
  std::vector<char> buffer(1 << 16);
  std::int64_t received = 0;
  while (received < total) {
    const ssize_t got = ::read(socket, buffer.data(), buffer.size());
    if (got <= 0) break;
    received += got;
  }
  const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
  device.join();
  ::close(socket);
  return {static_cast<double>(total) / 1e6 / seconds, 0, 0, bench::ProcessMegabytes("VmHWM:")};
}

Result RunFlood(const Setup& setup, int megabytes) {
  if (setup.served == Setup::Served::ServerAlone) return RunServerAlone(megabytes);
  const auto total = static_cast<std::int64_t>(megabytes) << 20;
  testing::TempDir home;
  ::setenv("HOME", home.Path().c_str(), 1);
  testing::PtyPair pty;
  std::optional<testing::Ser2netServer> server;
  if (setup.served != Setup::Served::No) {
    server.emplace(pty.SlavePath(), setup.served == Setup::Served::Rfc2217 ? testing::Ser2netServer::Accepter::Rfc2217
                                                                           : testing::Ser2netServer::Accepter::Tcp);
  }
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({server ? server->Url() : pty.SlavePath()}));
  dialog.show();
  dialog.CheckBox(kHexDisplayCheck)->setChecked(setup.hex);
  if (setup.capture) dialog.CheckBox(kCaptureCheck)->click();
  for (const auto& [on, entry] : {std::pair{setup.waveView, tools::kWave}, std::pair{setup.console, tools::kConsole}}) {
    if (!on) continue;
    prompter.menuChoices.push_back(entry);
    QTest::mouseClick(&dialog, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  }
  QApplication::processEvents();

  QEventLoop loop;
  QElapsedTimer clock;
  QElapsedTimer sinceTick;
  qint64 longestGap = 0;
  qint64 longestLaterGap = 0;
  bool shown = false;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 gap = sinceTick.restart();
    longestGap = std::max(longestGap, gap);
    if (shown) longestLaterGap = std::max(longestLaterGap, gap);
    shown = dialog.RxCount() > 0;
    if (dialog.RxCount() >= total || clock.elapsed() > kGiveUpMs) loop.quit();
  });
  clock.start();
  sinceTick.start();
  ticker.start(kTickMs);
  std::thread device([&] { WriteStream(pty, megabytes, setup.console); });
  loop.exec();
  const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
  device.join();

  if (dialog.RxCount() != total || !prompter.messages.isEmpty()) {
    std::fprintf(stderr, "%s: %lld of %lld bytes shown, %lld messages\n", setup.name,
                 static_cast<long long>(dialog.RxCount()), static_cast<long long>(total),
                 static_cast<long long>(prompter.messages.size()));
  }
  if (setup.capture && std::filesystem::file_size(dialog.CapturePath()) != static_cast<std::uintmax_t>(total)) {
    std::fprintf(stderr, "%s: the capture file is incomplete\n", setup.name);
  }
  return {static_cast<double>(total) / 1e6 / seconds, static_cast<double>(longestGap),
          static_cast<double>(longestLaterGap), bench::ProcessMegabytes("VmHWM:")};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

constexpr Setup kSetups[] = {
    {"hex", true, false},
    {"characters", false, false},
    {"hex + capture", true, true},
    {"characters + capture", false, true},
    {"hex + waveform view", true, false, true},
    {"characters + waveform view", false, false, true},
    {"console, colour log", false, false, false, true},
    {"console + capture", false, true, false, true},
    {"hex, rfc2217 ser2net", true, false, false, false, Setup::Served::Rfc2217},
    {"hex + capture, rfc2217", true, true, false, false, Setup::Served::Rfc2217},
    {"hex, tcp ser2net", true, false, false, false, Setup::Served::Tcp},
    {"ser2net alone, tcp", true, false, false, false, Setup::Served::ServerAlone},
};

// Each run is a process of its own, so that no run inherits the memory of another.
Result RunInChild(int setup, int megabytes) {
  std::string command = std::filesystem::read_symlink("/proc/self/exe").string();
  command += " --setup " + std::to_string(setup);
  command += " --megabytes " + std::to_string(megabytes);
  command += " 2>/dev/null";
  Result result;
  if (FILE* child = ::popen(command.c_str(), "r")) {
    if (std::fscanf(child, "%lf %lf %lf %lf", &result.megabytesPerSecond, &result.longestStallMs,
                    &result.longestLaterStallMs, &result.peakMegabytes) != 4) {
      std::fprintf(stderr, "%s: the run failed\n", kSetups[setup].name);
    }
    ::pclose(child);
  }
  return result;
}

void ReportMedians(int megabytes, int runs) {
  std::printf("%d MiB of random bytes per run (console: of colourful log lines), medians of %d runs\n", megabytes,
              runs);
  std::printf("%-22s %8s %18s %26s %10s\n", "display", "MB/s", "longest stall ms", "after first bytes shown ms",
              "peak MiB");
  for (int setup = 0; setup < static_cast<int>(std::size(kSetups)); ++setup) {
    std::vector<double> rates, stalls, laterStalls, peaks;
    for (int run = 0; run < runs; ++run) {
      const Result result = RunInChild(setup, megabytes);
      rates.push_back(result.megabytesPerSecond);
      stalls.push_back(result.longestStallMs);
      laterStalls.push_back(result.longestLaterStallMs);
      peaks.push_back(result.peakMegabytes);
    }
    std::printf("%-22s %8.1f %18.0f %26.0f %10.0f\n", kSetups[setup].name, Median(rates), Median(stalls),
                Median(laterStalls), Median(peaks));
    std::fflush(stdout);
  }
}

}  // namespace
}  // namespace portprobe

int main(int argc, char** argv) {
  using namespace portprobe;
  const auto megabytes = static_cast<int>(bench::IntegerOption(argc, argv, "--megabytes", 64));
  const auto setup = static_cast<int>(bench::IntegerOption(argc, argv, "--setup", -1));
  if (setup < 0) {
    ReportMedians(megabytes, static_cast<int>(bench::IntegerOption(argc, argv, "--runs", 5)));
    return 0;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  const Result result = RunFlood(kSetups[setup], megabytes);
  std::printf("%f %f %f %f\n", result.megabytesPerSecond, result.longestStallMs, result.longestLaterStallMs,
              result.peakMegabytes);
  return 0;
}
