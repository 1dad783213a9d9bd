#include "serial/port_enumeration.h"
#include "serial/udev_port.h"

#include <gtest/gtest.h>

#include <map>

namespace portprobe {
namespace {

// The udev properties of a device, as PortDescription reads them.
PropertyLookup Properties(std::map<std::string, std::string> properties) {
  return [properties = std::move(properties)](const char* name) {
    const auto found = properties.find(name);
    return found != properties.end() ? found->second : std::string();
  };
}

TEST(PortDescription, NamesTheProductAsTheDeviceDoesThenItsSerialNumber) {
  // The device's own string, escaped by udev, wins over the plain and the database names.
  EXPECT_EQ(PortDescription(Properties({{"ID_MODEL_ENC", "FT232R\\x20USB\\x20UART\\x20\\x20"},
                                        {"ID_MODEL", "FT232R_USB_UART"},
                                        {"ID_MODEL_FROM_DATABASE", "FT232 Serial (UART) IC"},
                                        {"ID_SERIAL_SHORT", "A50285BI"}})),
            "FT232R USB UART (A50285BI)");
  EXPECT_EQ(PortDescription(Properties({{"ID_MODEL", "USB2.0-Serial"}})), "USB2.0-Serial");
  EXPECT_EQ(PortDescription(Properties({{"ID_MODEL", "CP2102_USB_to_UART"}, {"ID_SERIAL_SHORT", "0001"}})),
            "CP2102 USB to UART (0001)");
  EXPECT_EQ(PortDescription(Properties({{"ID_MODEL_FROM_DATABASE", "CH340 serial converter"},
                                        {"ID_VENDOR_FROM_DATABASE", "QinHeng Electronics"}})),
            "CH340 serial converter");
  EXPECT_EQ(PortDescription(Properties({{"ID_VENDOR_FROM_DATABASE", "QinHeng Electronics"}})), "QinHeng Electronics");
  EXPECT_EQ(PortDescription(Properties({{"ID_SERIAL_SHORT", "1234"}})), "(1234)");
  EXPECT_EQ(PortDescription(Properties({})), "");
  // A broken escape stays as it is.
  EXPECT_EQ(PortDescription(Properties({{"ID_MODEL_ENC", "A\\xZZ\\x4"}})), "A\\xZZ\\x4");
}

TEST(PortListText, AddsTheDescriptionWhereThereIsOne) {
  EXPECT_EQ(PortListText({"ttyUSB0", "/dev/ttyUSB0", "", "FT232R USB UART (A50285BI)"}),
            "ttyUSB0 — FT232R USB UART (A50285BI)");
  EXPECT_EQ(PortListText({"ttyS0", "/dev/ttyS0", "", ""}), "ttyS0");
}

TEST(ByIdPath, PicksTheByIdLinkAmongTheLinks) {
  EXPECT_EQ(ByIdPath("/dev/serial/by-path/pci-0:14.0-usb-0:1:1.0-port0 /dev/serial/by-id/usb-FTDI_A5-if00-port0"),
            "/dev/serial/by-id/usb-FTDI_A5-if00-port0");
  EXPECT_EQ(ByIdPath("/dev/serial/by-id/usb-x /dev/other"), "/dev/serial/by-id/usb-x");
  EXPECT_EQ(ByIdPath("/dev/serial/by-path/pci-0"), "");
  EXPECT_EQ(ByIdPath(""), "");
}

TEST(IsSameDevice, GoesByTheByIdLinkWhereThereIsOneElseByThePath) {
  const SerialPort adapter = {"ttyUSB0", "/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_A5", ""};
  EXPECT_TRUE(IsSameDevice(adapter, {"ttyUSB3", "/dev/ttyUSB3", "/dev/serial/by-id/usb-FTDI_A5", ""}));
  // Another adapter that took its name is not it.
  EXPECT_FALSE(IsSameDevice(adapter, {"ttyUSB0", "/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_B7", ""}));
  EXPECT_FALSE(IsSameDevice(adapter, {"ttyUSB0", "/dev/ttyUSB0", "", ""}));
  EXPECT_EQ(ReopenPath(adapter), "/dev/serial/by-id/usb-FTDI_A5");
  // Without a serial number its twin has the same link: only the path tells them apart.
  const SerialPort twin = {"ttyUSB1", "/dev/ttyUSB1", "/dev/serial/by-id/usb-CH340-if00", "", false};
  EXPECT_FALSE(IsSameDevice(twin, {"ttyUSB2", "/dev/ttyUSB2", "/dev/serial/by-id/usb-CH340-if00", "", false}));
  EXPECT_TRUE(IsSameDevice(twin, {"ttyUSB1", "/dev/ttyUSB1", "/dev/serial/by-id/usb-CH340-if00", "", false}));
  EXPECT_EQ(ReopenPath(twin), "/dev/ttyUSB1");

  const SerialPort link = PortOfPath("/tmp/sim/device");
  EXPECT_TRUE(IsSameDevice(link, PortOfPath("/tmp/sim/device")));
  EXPECT_FALSE(IsSameDevice(link, PortOfPath("/tmp/sim/other")));
  EXPECT_EQ(ReopenPath(link), "/tmp/sim/device");
  EXPECT_EQ(PortOfPath("/dev/serial/by-id/usb-x").byIdPath, "/dev/serial/by-id/usb-x");
}

TEST(DevicePath, MapsListNamesToDevices) {
  EXPECT_EQ(DevicePath("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(DevicePath("COM1"), "/dev/ttyS0");
  EXPECT_EQ(DevicePath("COM128"), "/dev/ttyS127");
  EXPECT_EQ(DevicePath("/dev/pts/7"), "/dev/pts/7");
  EXPECT_EQ(DevicePath("/dev/serial/by-id/usb-x"), "/dev/serial/by-id/usb-x");
  EXPECT_EQ(DevicePath("---------"), "/dev/---------");
  EXPECT_EQ(DevicePath("COM0"), "/dev/COM0");
  EXPECT_EQ(DevicePath("COMx"), "/dev/COMx");
}

TEST(PortNameInFriendlyName, TakesTheComNameInBrackets) {
  EXPECT_EQ(PortNameInFriendlyName("USB-SERIAL CH340 (COM5)"), "COM5");
  EXPECT_EQ(PortNameInFriendlyName("Prolific USB-to-Serial Comm Port (COM12)"), "COM12");
  EXPECT_EQ(PortNameInFriendlyName("Broken (COM3"), "COM3");
  EXPECT_EQ(PortNameInFriendlyName("Printer Port (LPT1)"), "");
  EXPECT_EQ(PortNameInFriendlyName("Lower case (com3)"), "");
  EXPECT_EQ(PortNameInFriendlyName(""), "");
}

TEST(ComPortNumber, ReadsOnlyComNamesFromOne) {
  EXPECT_EQ(ComPortNumber("COM1"), 1);
  EXPECT_EQ(ComPortNumber("COM128"), 128);
  for (const char* name : {"COM0", "COM", "COMx", "COM3 ", "com3", "LPT1", "COM-1"}) {
    EXPECT_EQ(ComPortNumber(name), std::nullopt) << name;
  }
}

}  // namespace
}  // namespace portprobe
