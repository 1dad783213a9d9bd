#include <gtest/gtest.h>

#include "serial/dcb_rows.h"
#include "serial/port_enumeration.h"

namespace portprobe {
namespace {

DCB DriverDcb() {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = 9600;
  dcb.ByteSize = 8;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  return dcb;
}

TEST(SetLineSettings, MapsEveryRowIntoTheControlBlock) {
  DCB dcb = DriverDcb();
  dcb.fNull = TRUE;
  dcb.fErrorChar = TRUE;
  dcb.fAbortOnError = TRUE;
  SetLineSettings(dcb, {115200, 2, 2, 1});
  EXPECT_EQ(dcb.BaudRate, 115200u);
  EXPECT_EQ(dcb.Parity, EVENPARITY);
  EXPECT_TRUE(dcb.fParity);
  EXPECT_EQ(dcb.ByteSize, 6);
  EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
  // Binary data passes untouched, and a line error does not stop the port.
  EXPECT_TRUE(dcb.fBinary);
  EXPECT_FALSE(dcb.fNull);
  EXPECT_FALSE(dcb.fErrorChar);
  EXPECT_FALSE(dcb.fAbortOnError);

  const BYTE parities[] = {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY};
  const BYTE sizes[] = {8, 7, 6, 5};
  // The longer stops pair with the data bits as a UART can send them: 1.5 at 5 bits, 2 above.
  const BYTE stopBits[] = {ONESTOPBIT, TWOSTOPBITS, TWOSTOPBITS, ONESTOPBIT, TWOSTOPBITS};
  for (int row = 0; row < 5; ++row) {
    SetLineSettings(dcb, {9600, row, row % 4, row % 3});
    EXPECT_EQ(dcb.Parity, parities[row]) << row;
    EXPECT_EQ(bool(dcb.fParity), row != 0) << row;
    EXPECT_EQ(dcb.ByteSize, sizes[row % 4]) << row;
    EXPECT_EQ(dcb.StopBits, stopBits[row]) << row;
  }
  SetLineSettings(dcb, {9600, 0, 3, 1});
  EXPECT_EQ(dcb.StopBits, ONE5STOPBITS);
  SetLineSettings(dcb, {9600, 0, 3, 2});
  EXPECT_EQ(dcb.StopBits, ONE5STOPBITS);
  SetLineSettings(dcb, {9600, 0, 0, 2});
  EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
  // Typed rates go to the driver as they are; 0 and rows of -1 leave the driver's values.
  SetLineSettings(dcb, {43000, 1, 1, 0});
  EXPECT_EQ(dcb.BaudRate, 43000u);
  SetLineSettings(dcb, {0, -1, -1, -1});
  EXPECT_EQ(dcb.BaudRate, 43000u);
  EXPECT_EQ(dcb.Parity, ODDPARITY);
  EXPECT_EQ(dcb.ByteSize, 7);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
}

TEST(SetLineSettings, SetsOnlyTheChosenFlowControl) {
  DCB dcb = DriverDcb();
  dcb.fOutX = dcb.fInX = dcb.fOutxDsrFlow = dcb.fDsrSensitivity = TRUE;
  SetLineSettings(dcb, {9600, 0, 0, 0, FlowControl::RtsCts});
  EXPECT_TRUE(dcb.fOutxCtsFlow);
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));
  EXPECT_FALSE(dcb.fOutX || dcb.fInX || dcb.fOutxDsrFlow || dcb.fDsrSensitivity);

  SetLineSettings(dcb, {9600, 0, 0, 0, FlowControl::XonXoff});
  EXPECT_TRUE(dcb.fOutX && dcb.fInX);
  EXPECT_EQ(dcb.XonChar, 0x11);
  EXPECT_EQ(dcb.XoffChar, 0x13);
  EXPECT_FALSE(dcb.fOutxCtsFlow);
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));  // RTS leaves the handshake raised

  SetLineSettings(dcb, {9600, 0, 0, 0, FlowControl::None});
  EXPECT_FALSE(dcb.fOutX || dcb.fInX || dcb.fOutxCtsFlow);
  // RTS and DTR set low by the user stay low.
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  SetLineSettings(dcb, {9600, 0, 0, 0, FlowControl::None});
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
  EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
}

TEST(DevicePath, PutsTheDevicePrefixBeforePortNames) {
  EXPECT_EQ(DevicePath("COM5"), R"(\\.\COM5)");
  EXPECT_EQ(DevicePath("COM128"), R"(\\.\COM128)");
  EXPECT_EQ(DevicePath(R"(\\.\COM12)"), R"(\\.\COM12)");
  EXPECT_EQ(DevicePath("CNCA0"), R"(\\.\CNCA0)");
}

// Wine's device-setup service may know no port at all; what it lists must still be
// COM ports in number order that open by their path.
TEST(EnumerateSerialPorts, ListsComPortsInNumberOrderWithinTheCapacity) {
  const std::vector<SerialPort> ports = EnumerateSerialPorts();
  EXPECT_LE(ports.size(), kMaxEnumeratedPorts);
  for (std::size_t i = 0; i < ports.size(); ++i) {
    ASSERT_TRUE(ComPortNumber(ports[i].name)) << ports[i].name;
    EXPECT_EQ(ports[i].path, DevicePath(ports[i].name));
    if (i > 0) {
      EXPECT_LT(*ComPortNumber(ports[i - 1].name), *ComPortNumber(ports[i].name));
    }
  }
  EXPECT_TRUE(EnumerateSerialPorts(0).empty());
}

}  // namespace
}  // namespace portprobe
