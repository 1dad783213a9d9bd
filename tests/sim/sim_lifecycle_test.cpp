// How the simulator starts and ends: options, its link, signals, the terminal closing
// the device and the watched process.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "common/byte_frame.h"
#include "support/cli_run.h"
#include "support/pty_pair.h"
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
                                                                                    {"--crc"}}) {
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

}  // namespace
}  // namespace portprobe
