#include "session/port_status.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

using Setting = PortStatus::Setting;

TEST(PortStatus, ShowsTheRowsLastPickedAndIgnoresNoRow) {
  PortStatus status;
  // No port yet: none was found to open.
  EXPECT_EQ(status.Text(false), "未找到串口设备");
  status.SetPortName("ttyUSB0");
  status.PickRows(LineSettings{});
  EXPECT_EQ(status.Text(true), "ttyUSB0 OPENED,9600,N,8,1");
  status.PickBaudRate(115200);
  status.PickRow(Setting::Parity, 2);
  status.PickRow(Setting::DataBits, 1);
  status.PickRow(Setting::StopBits, 1);
  EXPECT_EQ(status.Text(false), "ttyUSB0 CLOSED,115200,E,7,2");
  // A list without a selected row, no rate, or a row the list does not have, keeps the text.
  status.PickRows(LineSettings{0, -1, -1, -1});
  status.PickRow(Setting::Parity, 5);
  EXPECT_EQ(status.Text(false), "ttyUSB0 CLOSED,115200,E,7,2");
  // Any rate shows as its number.
  status.PickBaudRate(250000);
  EXPECT_EQ(status.Text(true), "ttyUSB0 OPENED,250000,E,7,2");
}

}  // namespace
}  // namespace portprobe
