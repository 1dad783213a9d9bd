#include "session/reconnect.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

const SerialPort kAdapter{"ttyUSB0", "/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_A1-if00-port0", "FT232R", true};

// Gone without "自动重连"; awaited with it, under its by-id link, until a try ends the
// wait: a device not there yet keeps it, one that refuses its settings stays lost,
// one that opens is found again.
TEST(Reconnect, AwaitsTheDeviceThatWentAwayUntilATryEndsTheWait) {
  Reconnect reconnect;
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::None);
  reconnect.Opened(kAdapter);
  reconnect.WentAway(false);
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::Gone);
  EXPECT_EQ(reconnect.PathToTry(), std::nullopt);
  reconnect.PortChosen();
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::None);

  reconnect.Opened(kAdapter);
  reconnect.WentAway(true);
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::Awaiting);
  EXPECT_EQ(reconnect.PathToTry(), kAdapter.byIdPath);
  SerialPort renamed = kAdapter;
  renamed.name = "ttyUSB1";
  renamed.path = "/dev/ttyUSB1";
  EXPECT_TRUE(reconnect.IsAwaited(renamed));
  SerialPort other = renamed;
  other.byIdPath = "/dev/serial/by-id/usb-FTDI_B2-if00-port0";
  EXPECT_FALSE(reconnect.IsAwaited(other));

  EXPECT_TRUE(reconnect.KeepWaitingAfter(true, false));
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::Awaiting);
  EXPECT_FALSE(reconnect.KeepWaitingAfter(false, false));  // it refused the settings
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::Gone);

  reconnect.WentAway(true);
  EXPECT_FALSE(reconnect.KeepWaitingAfter(false, true));
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::None);
  // A wait the user ends is said to have ended until the user acts again.
  reconnect.WentAway(true);
  reconnect.PortChosen();
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::StoppedWaiting);
  reconnect.PortChosen();
  EXPECT_EQ(reconnect.State(), Reconnect::Loss::None);

  // Twin adapters share a by-id link that names neither: the path is tried.
  SerialPort twin = kAdapter;
  twin.byIdNamesDevice = false;
  reconnect.Opened(twin);
  reconnect.WentAway(true);
  EXPECT_EQ(reconnect.PathToTry(), twin.path);
  EXPECT_FALSE(reconnect.IsAwaited(renamed));
}

}  // namespace
}  // namespace portprobe
