// The port list and its changes as udev tells them, over umockdev's faked devices.
#include <gtest/gtest.h>
#include <poll.h>

#include "serial/port_enumeration.h"
#include "serial/port_watcher.h"
#include "udev/udev_testbed.h"

namespace portprobe {
namespace {

const testing::UsbSerialAdapter kAdapter = {"ttyUSB0", "FT232R USB UART", "A50285BI",
                                            "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", 0};

class UdevPortsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::UnderUmockdev()) GTEST_SKIP() << "needs umockdev-wrapper";
  }
  // Waits up to a second for the watcher's socket, then takes what it holds.
  std::vector<PortChange> NextChanges(PortWatcher& watcher) {
    pollfd ready = {watcher.Fd(), POLLIN, 0};
    if (::poll(&ready, 1, 1000) <= 0) return {};
    return watcher.TakeChanges();
  }

  testing::UdevTestbed testbed_;
};

TEST_F(UdevPortsTest, ListsRealDevicesSortedAndBoundedWithTheirDescriptions) {
  EXPECT_TRUE(EnumerateSerialPorts().empty());
  testbed_.AddUsbSerial({"ttyUSB1", "USB Serial", "", "usb-1a86_USB_Serial-if00-port0", 1});
  testbed_.AddUsbSerial({"ttyACM0", "Pico", "E6614C311B", "usb-Raspberry_Pi_Pico_E6614C311B-if00", 2});
  testbed_.Add(
      "P: /devices/platform/serial8250\nE: SUBSYSTEM=platform\n\n"
      "P: /devices/platform/serial8250/tty/ttyS0\nN: ttyS0\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/ttyS0\n"
      "A: type=4\nA: dev=4:64\n\n"
      // A placeholder UART: no port type.
      "P: /devices/platform/serial8250/tty/ttyS1\nN: ttyS1\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/ttyS1\n"
      "A: type=0\nA: dev=4:65\n\n"
      // A virtual console: no device behind it.
      "P: /devices/virtual/tty/tty5\nN: tty5\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/tty5\nA: dev=4:5\n");
  testbed_.AddUsbSerial(kAdapter);

  const std::vector<SerialPort> ports = EnumerateSerialPorts();
  std::vector<std::string> names;
  for (const SerialPort& port : ports) names.push_back(port.name);
  EXPECT_EQ(names, (std::vector<std::string>{"ttyACM0", "ttyS0", "ttyUSB0", "ttyUSB1"}));
  EXPECT_EQ(EnumerateSerialPorts(2).size(), 2u);
  ASSERT_EQ(ports.size(), 4u);
  EXPECT_EQ(ports[2],
            (SerialPort{"ttyUSB0", "/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                        "FT232R USB UART (A50285BI)"}));
  EXPECT_EQ(PortListText(ports[2]), "ttyUSB0 — FT232R USB UART (A50285BI)");
  EXPECT_EQ(ports[1], (SerialPort{"ttyS0", "/dev/ttyS0", "", ""}));
  EXPECT_EQ(ports[3].description, "USB Serial");

  // A by-id path, a node and a name that resolves to the node find the same port.
  EXPECT_EQ(FindSerialPort(ports[2].byIdPath), ports[2]);
  EXPECT_EQ(FindSerialPort("/dev/ttyUSB0"), ports[2]);
  EXPECT_EQ(FindSerialPort("/dev/pts/999").byIdPath, "");
}

TEST_F(UdevPortsTest, TheWatcherTellsOfSerialPortsThatComeAndGo) {
  PortWatcher watcher;
  ASSERT_GE(watcher.Fd(), 0);
  EXPECT_TRUE(watcher.TakeChanges().empty());

  const std::string sysPath = testbed_.AddUsbSerial(kAdapter);
  std::vector<PortChange> changes = NextChanges(watcher);
  ASSERT_EQ(changes.size(), 1u);  // the USB device itself is no tty
  EXPECT_EQ(changes[0].kind, PortChange::Kind::Added);
  EXPECT_EQ(changes[0].port.description, "FT232R USB UART (A50285BI)");
  EXPECT_EQ(changes[0].port.byIdPath, "/dev/serial/by-id/" + kAdapter.byIdName);

  testbed_.Add("P: /devices/virtual/tty/tty7\nN: tty7\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/tty7\nA: dev=4:7\n");
  EXPECT_TRUE(NextChanges(watcher).empty());

  testbed_.AnnounceRemoval(sysPath);
  testbed_.Remove(sysPath);
  changes = NextChanges(watcher);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].kind, PortChange::Kind::Removed);
  EXPECT_EQ(changes[0].port.path, "/dev/ttyUSB0");
  // What identifies the device for a reconnect comes with its removal.
  EXPECT_EQ(changes[0].port.byIdPath, "/dev/serial/by-id/" + kAdapter.byIdName);
}

}  // namespace
}  // namespace portprobe
