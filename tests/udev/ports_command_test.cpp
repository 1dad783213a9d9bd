// portprobe-cli ports over umockdev's faked devices: the command inherits the testbed.
#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "udev/udev_testbed.h"

namespace portprobe {
namespace {

TEST(PortsCommand, ListsPathByIdPathAndDescriptionAsTextOrJson) {
  if (!testing::UnderUmockdev()) GTEST_SKIP() << "needs umockdev-wrapper";
  testing::UdevTestbed testbed;
  testing::CliRun none = testing::RunProgram(PORTPROBE_CLI_PATH, {"ports"});
  EXPECT_EQ(none.exitStatus, 0);
  EXPECT_EQ(none.out, "");
  none = testing::RunProgram(PORTPROBE_CLI_PATH, {"ports", "--json"});
  EXPECT_EQ(none.exitStatus, 0);
  EXPECT_EQ(none.out, "[]\n");

  testbed.AddUsbSerial({"ttyUSB0", "FT232R USB UART", "A50285BI", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", 0});
  testbed.AddUsbSerial({"ttyACM0", "Board \"B\"\\2", "", "usb-Board-if00", 1});
  testbed.Add(
      "P: /devices/platform/serial8250\nE: SUBSYSTEM=platform\n\n"
      "P: /devices/platform/serial8250/tty/ttyS0\nN: ttyS0\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/ttyS0\n"
      "A: type=4\nA: dev=4:64\n");
  const testing::CliRun text = testing::RunProgram(PORTPROBE_CLI_PATH, {"ports"});
  EXPECT_EQ(text.exitStatus, 0);
  EXPECT_EQ(
      text.out,
      "/dev/ttyACM0\t/dev/serial/by-id/usb-Board-if00\tBoard \"B\"\\2\n"
      "/dev/ttyS0\t\t\n"
      "/dev/ttyUSB0\t/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\tFT232R USB UART (A50285BI)\n");
  const testing::CliRun json = testing::RunProgram(PORTPROBE_CLI_PATH, {"ports", "--json"});
  EXPECT_EQ(json.exitStatus, 0);
  EXPECT_EQ(json.out,
            "[\n"
            "  {\"path\": \"/dev/ttyACM0\", \"by_id\": \"/dev/serial/by-id/usb-Board-if00\", "
            "\"description\": \"Board \\\"B\\\"\\\\2\"},\n"
            "  {\"path\": \"/dev/ttyS0\", \"by_id\": \"\", \"description\": \"\"},\n"
            "  {\"path\": \"/dev/ttyUSB0\", \"by_id\": "
            "\"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\", "
            "\"description\": \"FT232R USB UART (A50285BI)\"}\n"
            "]\n");

  const testing::CliRun wrong = testing::RunProgram(PORTPROBE_CLI_PATH, {"ports", "--yaml"});
  EXPECT_EQ(wrong.exitStatus, 2);
  EXPECT_NE(wrong.err.find("usage: portprobe-cli ports [--json]"), std::string::npos);
}

}  // namespace
}  // namespace portprobe
