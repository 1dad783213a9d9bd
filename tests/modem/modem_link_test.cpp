// The link's modem lines on a pseudo-terminal whose lines the preloaded shim plays.
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <chrono>
#include <deque>
#include <thread>

#include "modem/modem_shim.h"
#include "serial/serial_link.h"
#include "support/pty_pair.h"

namespace portprobe {
namespace {

using namespace std::chrono_literals;

// The ModemLines events that the link queued until `wanted` of them came, or a while.
std::vector<std::uint64_t> ModemLineEvents(SerialLink& link, std::size_t wanted,
                                           std::chrono::milliseconds patience = 5000ms) {
  std::vector<std::uint64_t> readings;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (readings.size() < wanted && std::chrono::steady_clock::now() < deadline) {
    for (const SerialEvent& event : link.TakeEvents()) {
      if (event.kind == SerialEvent::Kind::ModemLines) readings.push_back(event.count);
    }
    std::this_thread::sleep_for(5ms);
  }
  return readings;
}

class ModemLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(shim.Loaded()) << "run through CTest, which preloads the modem shim";
    shim.Reset(true);
  }
  testing::ModemShim shim;
  testing::PtyPair pty;
  SerialLink link{[] {}};
};

TEST_F(ModemLinkTest, ReportsTheDeviceLinesOnlyWhenTheyChange) {
  shim.SetDeviceLines(TIOCM_CTS);
  link.SetModemOutputs(false, true);
  ASSERT_EQ(link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  EXPECT_TRUE(link.ModemLinesSupported());
  EXPECT_EQ(shim.Lines(), TIOCM_CTS | TIOCM_DTR);
  EXPECT_EQ(ModemLineEvents(link, 1), std::vector<std::uint64_t>{kCtsLine});
  // Readings twenty times a second that find nothing new report nothing.
  EXPECT_TRUE(ModemLineEvents(link, 1, 300ms).empty());
  shim.SetDeviceLines(TIOCM_DSR | TIOCM_RI | TIOCM_CD);
  EXPECT_EQ(ModemLineEvents(link, 1), std::vector<std::uint64_t>{kDsrLine | kRiLine | kDcdLine});
}

TEST_F(ModemLinkTest, BytesQueuedDuringABreakFollowItAndACloseEndsIt) {
  ASSERT_EQ(link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  long long lastBreak = 0;
  link.SendBreak();
  const std::vector<std::uint8_t> bytes = {'a', 'f', 't', 'e', 'r'};
  EXPECT_EQ(link.QueueWrite(bytes), bytes.size());
  EXPECT_EQ(pty.Read(bytes.size()), bytes);
  EXPECT_EQ(shim.Breaks(&lastBreak), 1);
  EXPECT_GE(lastBreak, 250'000'000);

  link.SendBreak();
  while (shim.Breaks(&lastBreak) < 2) std::this_thread::sleep_for(1ms);
  link.ClosePort();
  EXPECT_EQ(shim.Breaks(&lastBreak), 2);
  EXPECT_GE(lastBreak, 0);
}

}  // namespace
}  // namespace portprobe
