// Soaks the running receive path with a long stream of random bytes through a
// pseudo-terminal, with capture on, in hex display. Checks that every byte is counted
// and that the capture file holds exactly the stream, and reports how the resident
// memory develops once the receive box has reached its bound.
//
//   receive_soak [--megabytes N]      (default 256)
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/main_dialog.h"
#include "integer_option.h"
#include "process_memory.h"
#include "resources/control_ids.h"
#include "support/ports_first.h"
#include "support/pty_pair.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

// FNV-1a, 64 bits: enough to tell two streams apart, and cheap beside the terminal.
struct StreamHash {
  std::uint64_t value = 14695981039346656037ull;
  void Add(const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) value = (value ^ bytes[i]) * 1099511628211ull;
  }
};

// Random bytes made block by block, so the stream never repeats and costs little.
std::uint64_t WriteRandomStream(const testing::PtyPair& pty, std::int64_t total) {
  StreamHash hash;
  std::uint64_t state = 88172645463325252ull;
  std::vector<std::uint8_t> block(kBlock);
  for (std::int64_t sent = 0; sent < total; sent += kBlock) {
    for (std::size_t i = 0; i < kBlock; i += 8) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      for (std::size_t b = 0; b < 8; ++b) block[i + b] = static_cast<std::uint8_t>(state >> (8 * b));
    }
    hash.Add(block.data(), block.size());
    pty.Write(block);
  }
  return hash.value;
}

std::uint64_t FileHash(const std::string& path) {
  StreamHash hash;
  std::ifstream file(path, std::ios::binary);
  std::vector<char> buffer(1 << 20);
  while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || file.gcount() > 0) {
    hash.Add(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(file.gcount()));
  }
  return hash.value;
}

int Soak(std::int64_t megabytes) {
  const std::int64_t total = megabytes << 20;
  testing::TempDir home;
  ::setenv("HOME", home.Path().c_str(), 1);
  testing::PtyPair pty;
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({pty.SlavePath()}));
  dialog.show();
  dialog.CheckBox(resources::kCaptureCheck)->click();

  // Resident memory at each tenth of the stream.
  std::vector<double> residentAtTenth;
  QEventLoop loop;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    while (static_cast<std::int64_t>(residentAtTenth.size()) * total / 10 <= dialog.RxCount() &&
           residentAtTenth.size() <= 10) {
      residentAtTenth.push_back(bench::ProcessMegabytes("VmRSS:"));
    }
    if (dialog.RxCount() >= total) loop.quit();
  });
  QElapsedTimer clock;
  clock.start();
  sampler.start(20);
  std::uint64_t streamHash = 0;
  std::thread device([&] { streamHash = WriteRandomStream(pty, total); });
  loop.exec();
  device.join();
  const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;

  const bool counted = dialog.RxCount() == total;
  const bool captured = FileHash(dialog.CapturePath()) == streamHash;
  std::printf("%lld MiB in %.1f s (%.1f MB/s), RxCount %s, capture file %s, %lld messages\n",
              static_cast<long long>(megabytes), seconds, static_cast<double>(total) / 1e6 / seconds,
              counted ? "equals the bytes sent" : "DIFFERS", captured ? "hash equals the stream's" : "DIFFERS",
              static_cast<long long>(prompter.messages.size()));
  std::printf("resident MiB at each tenth of the stream:");
  for (double resident : residentAtTenth) std::printf(" %.0f", resident);
  std::printf("\npeak resident MiB: %.0f\n", bench::ProcessMegabytes("VmHWM:"));
  return counted && captured && prompter.messages.isEmpty() ? 0 : 1;
}

}  // namespace
}  // namespace portprobe

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  return portprobe::Soak(portprobe::bench::IntegerOption(argc, argv, "--megabytes", 256));
}
