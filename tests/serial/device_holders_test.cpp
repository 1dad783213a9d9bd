#include "serial/device_holders.h"

#include <gtest/gtest.h>

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
