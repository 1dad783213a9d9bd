// How the simulator starts and ends: options, its link, signals, the terminal closing
// the device, the watched process, and a TCP port in place of the pseudo-terminal.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "common/byte_frame.h"
#include "serial/link_under_test.h"
#include "support/cli_run.h"
#include "support/pty_pair.h"
#include "support/ser2net_server.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::DeviceFd;
using testing::ReadBytes;
using testing::SimProcess;
using testing::TempDir;
using testing::WriteAll;

void ExpectEchoes(const DeviceFd& device) {
  WriteAll(device.get(), {0x42});
  EXPECT_EQ(ReadBytes(device.get(), 1), ByteFrame{0x42});
}

TEST(SimLifecycle, EndsWhenTheTerminalClosesTheDeviceAndRemovesItsLink) {
  const TempDir dir;
  const std::string link = dir.File("device");
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "echo", "--link", link});
  EXPECT_EQ(fs::read_symlink(link), sim.DevicePath());
  std::optional<DeviceFd> device(std::in_place, link);
  ExpectEchoes(*device);
  device.reset();
  EXPECT_EQ(sim.WaitForExit(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimLifecycle, WaitsForTheFirstOpenAndWithStayServesTheNextOpenToo) {
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "echo", "--stay"});
  for (int open = 0; open < 2; ++open) {
    const DeviceFd device(sim.DevicePath());
    ExpectEchoes(device);
  }
  EXPECT_EQ(sim.WaitForExit(300), -1) << "ended although --stay was given";
}

TEST(SimLifecycle, SignalsEndItCleanly) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const TempDir dir;
    const std::string link = dir.File("device");
    SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "stream", "--link", link});
    const DeviceFd device(sim.DevicePath());
    ASSERT_FALSE(ReadBytes(device.get(), 1).empty());
    sim.Signal(signal);
    EXPECT_EQ(sim.WaitForExit(), 0) << "signal " << signal;
    EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "signal " << signal;
  }
}

TEST(SimLifecycle, EndsWhenTheWatchedProcessEnds) {
  pid_t sleeper = -1;
  char sleepArg[] = "60";
  char sleepName[] = "sleep";
  char* argv[] = {sleepName, sleepArg, nullptr};
  ASSERT_EQ(::posix_spawnp(&sleeper, "sleep", nullptr, nullptr, argv, environ), 0);
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "echo", "--stay", "--watch-pid", std::to_string(sleeper)});
  EXPECT_EQ(sim.WaitForExit(200), -1) << "ended while the watched process runs";
  ::kill(sleeper, SIGKILL);
  ::waitpid(sleeper, nullptr, 0);
  EXPECT_EQ(sim.WaitForExit(), 0);
}

TEST(SimLifecycle, RefusesBadArgumentsAndForeignFilesInPlaceOfTheLink) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"--role", "modem"},
                                                                                    {"--role"},
                                                                                    {"--reply", "12 3"},
                                                                                    {"--reply", "0x12"},
                                                                                    {"--watch-pid", "x"},
                                                                                    {"--watch-pid", "0"},
                                                                                    {"--baud", "9600"},
                                                                                    {"--crc", "crc32"},
                                                                                    {"--crc"},
                                                                                    {"--listen", "rfc2217://127.0.0.1:7000"},
                                                                                    {"--listen", "tcp://127.0.0.1"},
                                                                                    {"--listen", "tcp://h:1", "--link", "x"}}) {
    const CliRun run = testing::RunProgram(PORTPROBE_SIM_PATH, args);
    EXPECT_EQ(run.exitStatus, 2) << args[0];
    EXPECT_EQ(run.out, "") << args[0];
    EXPECT_TRUE(run.err.starts_with("portprobe-sim: ")) << run.err;
  }
  const TempDir dir;
  const std::string file = dir.WriteFile("taken", "keep me");
  const CliRun run = testing::RunProgram(PORTPROBE_SIM_PATH, {"--link", file});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(testing::ReadFile(file), "keep me");
}

// On a TCP port the device serves one terminal at a time, and with --stay the next.
TEST(SimLifecycle, ListensOnTheTcpAddressGivenForTerminalAfterTerminal) {
  const std::string url = "tcp://127.0.0.1:" + std::to_string(testing::FreeLoopbackPort());
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "echo", "--listen", url, "--stay"});
  EXPECT_EQ(sim.DevicePath(), url);
  ByteFrame all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
  for (int terminal = 0; terminal < 2; ++terminal) {
    LinkUnderTest t;
    ASSERT_EQ(t.link.OpenPort(url, {}), SerialLink::OpenResult::Opened) << terminal;
    EXPECT_EQ(t.link.QueueWrite(all), all.size());
    EXPECT_EQ(Concatenate(t.Collect(all.size())), all) << terminal;
  }
  sim.Signal(SIGTERM);
  EXPECT_EQ(sim.WaitForExit(), 0);
}

}  // namespace
}  // namespace portprobe
