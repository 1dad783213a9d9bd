#include "serial/device_holders.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "support/holding_process.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

TEST(FindDeviceHolders, NamesOtherProcessesThatHaveTheDeviceOpenButNotThisOne) {
  testing::PtyPair pty;  // this process holds both ends itself
  EXPECT_TRUE(FindDeviceHolders(pty.SlavePath()).empty());

  testing::HoldingProcess first(pty.SlavePath());
  testing::HoldingProcess second(pty.SlavePath());
  testing::PtyPair unrelated;
  testing::HoldingProcess elsewhere(unrelated.SlavePath());
  const std::vector<DeviceHolder> holders = FindDeviceHolders(pty.SlavePath());
  ASSERT_EQ(holders.size(), 2u);
  EXPECT_EQ(holders[0].pid, std::min(first.Pid(), second.Pid()));
  EXPECT_EQ(holders[1].pid, std::max(first.Pid(), second.Pid()));
  EXPECT_EQ(holders[0].name, "sleep");
  EXPECT_EQ(holders[1].name, "sleep");
}

// A pseudo-terminal's far end often holds the slave too (socat does): it is no second reader.
TEST(FindDeviceHolders, LeavesOutTheProcessThatHoldsThePseudoTerminalsMaster) {
  int pathPipe[2];
  ASSERT_EQ(::pipe(pathPipe), 0);
  const pid_t farEnd = ::fork();
  ASSERT_GE(farEnd, 0);
  if (farEnd == 0) {
    int master = -1, slave = -1;
    char name[64] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) == 0) {
      [[maybe_unused]] const ssize_t sent = ::write(pathPipe[1], name, sizeof name);
    }
    ::pause();
    ::_exit(0);
  }
  char name[64] = {};
  ASSERT_EQ(::read(pathPipe[0], name, sizeof name), static_cast<ssize_t>(sizeof name));
  EXPECT_TRUE(FindDeviceHolders(name).empty());
  testing::HoldingProcess reader(name);
  const std::vector<DeviceHolder> holders = FindDeviceHolders(name);
  ASSERT_EQ(holders.size(), 1u);
  EXPECT_EQ(holders[0].pid, reader.Pid());
  ::kill(farEnd, SIGKILL);
  ::waitpid(farEnd, nullptr, 0);
  ::close(pathPipe[0]);
  ::close(pathPipe[1]);
}

TEST(FindDeviceHolders, FindsNothingForPathsThatAreNoDevices) {
  testing::TempDir folder;
  EXPECT_TRUE(FindDeviceHolders(folder.WriteFile("plain.txt", "x")).empty());
  EXPECT_TRUE(FindDeviceHolders(folder.Path().string()).empty());
  EXPECT_TRUE(FindDeviceHolders("/nonexistent/ttyUSB9").empty());
  // A process table that cannot be read hides holders rather than failing.
  testing::PtyPair pty;
  testing::HoldingProcess other(pty.SlavePath());
  EXPECT_TRUE(FindDeviceHolders(pty.SlavePath(), (folder.Path() / "no-proc").string()).empty());
}

}  // namespace
}  // namespace portprobe
