// Measures how soon a rate picked in the window reaches the far end's line settings:
// the pseudo-terminal opened directly, and the same served by ser2net on the loopback
// address and opened as rfc2217://. The rate alternates between 9600 and 115200; each
// pick is timed until the termios of the pseudo-terminal shows it.
//
//   rate_to_far_end [--rounds N]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QComboBox>
#include <sys/ioctl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "integer_option.h"
#include "resources/control_ids.h"
#include "serial/termios_rows.h"
#include "support/ports_first.h"
#include "support/pty_pair.h"
#include "support/scripted_prompter.h"
#include "support/ser2net_server.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBaud9600Row = 5, kBaud115200Row = 11;

speed_t FarRate(const testing::PtyPair& pty) {
  struct termios2 tio {};
  ::ioctl(pty.MasterFd(), TCGETS2, &tio);
  return tio.c_cflag & CBAUD;
}

// Milliseconds from each pick to its rate at the far end; -1 when it never came.
std::vector<double> TimePicks(bool network, int rounds) {
  testing::TempDir home;
  ::setenv("HOME", home.Path().c_str(), 1);
  testing::PtyPair pty;
  std::optional<testing::Ser2netServer> server;
  if (network) server.emplace(pty.SlavePath());
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({server ? server->Url() : pty.SlavePath()}));
  dialog.show();
  QComboBox* baud = dialog.ComboBox(resources::kBaudList);
  std::vector<double> times;
  for (int round = 0; round < rounds && dialog.IsOpen(); ++round) {
    const bool fast = round % 2 == 0;
    const Clock::time_point picked = Clock::now();
    baud->setCurrentIndex(fast ? kBaud115200Row : kBaud9600Row);
    emit baud->activated(baud->currentIndex());
    const speed_t wanted = fast ? B115200 : B9600;
    while (FarRate(pty) != wanted && Clock::now() - picked < std::chrono::seconds(2)) {
      QApplication::processEvents();
    }
    times.push_back(FarRate(pty) == wanted ? std::chrono::duration<double, std::milli>(Clock::now() - picked).count()
                                           : -1.0);
  }
  return times;
}

void Report(const char* name, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const long missed = std::count(times.begin(), times.end(), -1.0);
  std::printf("%-28s %6zu %10.2f %10.2f %8ld\n", name, times.size(), times[times.size() / 2], times.back(), missed);
}

}  // namespace
}  // namespace portprobe

int main(int argc, char** argv) {
  using namespace portprobe;
  const int rounds = static_cast<int>(std::max(2LL, bench::IntegerOption(argc, argv, "--rounds", 200)));
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  std::printf("%-28s %6s %10s %10s %8s\n", "port", "picks", "median ms", "max ms", "missed");
  Report("pseudo-terminal, direct", TimePicks(false, rounds));
  Report("rfc2217:// through ser2net", TimePicks(true, rounds));
  return 0;
}
