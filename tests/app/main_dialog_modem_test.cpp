// The modem lines on a device without them: a pseudo-terminal answers ENOTTY to every
// modem-line call. The lines themselves are tested in tests/modem, with a shim.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "app/modem_lamps_reading.h"
#include "resources/strings.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;


class ModemLinesMissingTest : public testing::ConnectedWindowTest {
 protected:
  void ChooseTool(int id) {
    prompter_.menuChoices.push_back(id);
    QTest::mouseClick(&dialog_, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  }
  QString Status() const { return dialog_.Label(kStatusLabel)->text(); }
  std::string ReceiveText() const { return std::string(dialog_.ReceiveText()); }
  struct termios2 DeviceTermios() const {
    struct termios2 tio {};
    EXPECT_EQ(::ioctl(pty_.SlaveFd(), TCGETS2, &tio), 0);
    return tio;
  }
  void SetFlowControl(FlowControl flowControl) {
    Preferences preferences = dialog_.CurrentPreferences();
    preferences.flowControl = flowControl;
    dialog_.SetPreferences(preferences);
  }
};

TEST_F(ModemLinesMissingTest, LampsAreGreyTogglesSaySoOnceAndThePortWorksOn) {
  ASSERT_TRUE(dialog_.IsOpen());
  EXPECT_EQ(testing::LampsReading(dialog_), "????");
  EXPECT_EQ(testing::LampsToolTip(dialog_), QString::fromUtf8(kModemLinesMissingText));
  const QString notice = QString::fromUtf8(kModemLinesMissingStatusText);
  EXPECT_FALSE(Status().contains(notice));

  // The choices are kept for the next device; this one says once that it has no lines.
  ChooseTool(tools::kRts);
  ChooseTool(tools::kDtr);
  EXPECT_FALSE(dialog_.CurrentPreferences().rts);
  EXPECT_FALSE(dialog_.CurrentPreferences().dtr);
  EXPECT_EQ(Status().count(notice), 1);
  ChooseTool(tools::kBreak);
  EXPECT_TRUE(prompter_.messages.isEmpty());

  pty_.Write("still here");
  EXPECT_EVENTUALLY_EQ(ReceiveText(), "73 74 69 6C 6C 20 68 65   72 65 ");
  SetSendText(QStringLiteral("AB"));
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(1), std::vector<std::uint8_t>{0xAB});

  // A new connection starts without the notice; a closed port has grey lamps.
  Click(kOpenButton);
  EXPECT_EQ(testing::LampsReading(dialog_), "????");
  EXPECT_EQ(testing::LampsToolTip(dialog_), QString::fromUtf8(kModemLampsClosedText));
  EXPECT_FALSE(Status().contains(notice));
  Click(kOpenButton);
  ASSERT_TRUE(dialog_.IsOpen());
  EXPECT_FALSE(Status().contains(notice));
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(ModemLinesMissingTest, FlowControlReachesTheLineAtOnceAndAtOpen) {
  const auto flowBits = [this] {
    const struct termios2 tio = DeviceTermios();
    return std::pair<bool, tcflag_t>(tio.c_cflag & CRTSCTS, tio.c_iflag & (IXON | IXOFF | IXANY));
  };
  ASSERT_TRUE(dialog_.IsOpen());
  EXPECT_EQ(flowBits(), std::make_pair(false, tcflag_t{0}));
  SetFlowControl(FlowControl::RtsCts);
  EXPECT_EQ(flowBits(), std::make_pair(true, tcflag_t{0}));
  SetFlowControl(FlowControl::XonXoff);
  EXPECT_EQ(flowBits(), std::make_pair(false, tcflag_t{IXON | IXOFF}));

  // A setting picked in a list keeps the flow control.
  testing::Choose(dialog_.ComboBox(kBaudList), 11);
  EXPECT_EQ(flowBits(), std::make_pair(false, tcflag_t{IXON | IXOFF}));

  // Closed, the device has its own settings back; the next open gives it the choice.
  Click(kOpenButton);
  SetFlowControl(FlowControl::RtsCts);
  EXPECT_EQ(flowBits(), std::make_pair(false, tcflag_t{0}));
  Click(kOpenButton);
  ASSERT_TRUE(dialog_.IsOpen());
  EXPECT_EQ(flowBits(), std::make_pair(true, tcflag_t{0}));
}

}  // namespace
}  // namespace portprobe
