// RTS, DTR, the break and the lamps through the window, on a pseudo-terminal whose
// modem lines the preloaded shim plays.
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "app/dialog_test_support.h"
#include "app/modem_lamps_reading.h"
#include "modem/modem_shim.h"
#include "resources/strings.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::LampsReading;

constexpr int kRtsCommand = 5060, kDtrCommand = 5061, kBreakCommand = 5062;
constexpr long long kNanosecondsPerMillisecond = 1000000;

// The shim starts each test with no lines set, before the window opens its port.
struct FreshShim {
  FreshShim() {
    if (shim.Loaded()) shim.Reset(true);
  }
  testing::ModemShim shim;
};

class ModemWindowTest : public FreshShim, public testing::ConnectedWindowTest {
 protected:
  void SetUp() override { ASSERT_TRUE(shim.Loaded()) << "run through CTest, which preloads the modem shim"; }
  void ChooseTool(int id) {
    prompter_.menuChoices.push_back(id);
    QTest::mouseClick(&dialog_, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  }
  int Outputs() const { return shim.Lines() & (TIOCM_RTS | TIOCM_DTR); }
};

TEST_F(ModemWindowTest, TogglesSetRtsAndDtrAtOnceAndAtOpen) {
  ASSERT_TRUE(dialog_.IsOpen());
  EXPECT_EQ(Outputs(), TIOCM_RTS | TIOCM_DTR);
  ChooseTool(kRtsCommand);
  EXPECT_FALSE(dialog_.CurrentPreferences().rts);
  EXPECT_EVENTUALLY_EQ(Outputs(), TIOCM_DTR);
  ChooseTool(kDtrCommand);
  EXPECT_EVENTUALLY_EQ(Outputs(), 0);
  ChooseTool(kRtsCommand);
  EXPECT_EVENTUALLY_EQ(Outputs(), TIOCM_RTS);
  EXPECT_EQ(dialog_.Label(kStatusLabel)->text().count(QString::fromUtf8(kModemLinesMissingStatusText)), 0);

  // A choice made while the port is closed is what the next open sets.
  Click(kOpenButton);
  ChooseTool(kRtsCommand);
  ChooseTool(kDtrCommand);
  EXPECT_EQ(Outputs(), TIOCM_RTS);
  shim.Reset(true);
  Click(kOpenButton);
  ASSERT_TRUE(dialog_.IsOpen());
  EXPECT_EQ(Outputs(), TIOCM_DTR);
}

TEST_F(ModemWindowTest, LampsFollowTheDeviceAndAreGreyWhileClosed) {
  EXPECT_EVENTUALLY_EQ(LampsReading(dialog_), "----");
  shim.SetDeviceLines(TIOCM_CTS | TIOCM_CD);
  EXPECT_EVENTUALLY_EQ(LampsReading(dialog_), "+--+");
  shim.SetDeviceLines(TIOCM_DSR | TIOCM_RI);
  EXPECT_EVENTUALLY_EQ(LampsReading(dialog_), "-++-");
  Click(kOpenButton);
  EXPECT_EQ(LampsReading(dialog_), "????");
  // Reopened, the lamps show the lines as they are now, not as they were.
  shim.SetDeviceLines(TIOCM_CTS);
  Click(kOpenButton);
  EXPECT_EVENTUALLY_EQ(LampsReading(dialog_), "+---");
}

TEST_F(ModemWindowTest, BreakHoldsTheLineFor250MillisecondsWhileTheWindowGoesOn) {
  long long lastBreak = 0;
  EXPECT_TRUE(testing::AnswersWithin(200, [this] { ChooseTool(kBreakCommand); }));
  EXPECT_TRUE(testing::WaitUntil([&] { return shim.Breaks(&lastBreak) == 1 && lastBreak >= 0; }));
  EXPECT_GE(lastBreak, 250 * kNanosecondsPerMillisecond);

  // Without a port the entry is disabled.
  Click(kOpenButton);
  ChooseTool(kBreakCommand);
  QTest::qWait(50);
  EXPECT_EQ(shim.Breaks(&lastBreak), 1);
}

}  // namespace
}  // namespace portprobe
