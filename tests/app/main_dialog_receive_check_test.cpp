#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

constexpr int kModbusRow = 7;

class ReceiveCheckTest : public testing::ConnectedWindowTest {
 protected:
  // Opens the tools menu with a right click on the window's surface and picks the check.
  void ToggleCheck() {
    prompter_.menuChoices.push_back(tools::kReceiveCheck);
    QTest::mouseClick(&dialog_, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  }
  std::string Status() const { return dialog_.Label(kStatusLabel)->text().toStdString(); }
  std::string Counts() const {
    const std::string status = Status();
    const std::size_t at = status.find(" \u2713");
    return at == std::string::npos ? std::string() : status.substr(at);
  }
  std::string ReceiveText() const { return std::string(dialog_.ReceiveText()); }
  void PickRow(int row) { dialog_.ComboBox(kChecksumList)->setCurrentIndex(row); }
  // What the status line shows with the check on.
  static std::string CountsText(int good, int bad) {
    return " \u2713" + std::to_string(good) + " \u2717" + std::to_string(bad);
  }
};

TEST_F(ReceiveCheckTest, MarksGoodAndBadBlocksAndCountsThem) {
  // "无校验" and the custom programs cannot check: the entry stays off.
  ToggleCheck();
  EXPECT_EQ(Counts(), "");
  PickRow(4);
  ToggleCheck();
  EXPECT_EQ(Counts(), "");

  PickRow(kModbusRow);
  ToggleCheck();
  EXPECT_EQ(Counts(), CountsText(0, 0));
  // A good reply in two pieces, then a bad one after a pause, then silence.
  pty_.Write(std::vector<std::uint8_t>{0x01, 0x03, 0x06, 0x00, 0xEA});
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  pty_.Write(std::vector<std::uint8_t>{0x01, 0x90, 0x00, 0x01, 0xF8, 0xB3});
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  pty_.Write(std::vector<std::uint8_t>{0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01, 0x7D, 0xE1});
  EXPECT_EVENTUALLY_EQ(ReceiveText(),
                       "01 03 06 00 EA 01 90 00   01 F8 B3 \u2713\r\n    \r\n"
                       "01 03 06 00 EA 01 90 00   01 7D E1 \u2717");
  EXPECT_EQ(Counts(), CountsText(1, 1));
  EXPECT_EQ(dialog_.RxCount(), 22);

  dialog_.Button(kResetCountersButton)->click();
  EXPECT_EQ(Counts(), CountsText(0, 0));
  // A row the check cannot use switches it off; picking the menu entry again switches it off too.
  PickRow(5);
  EXPECT_EQ(Counts(), "");
  PickRow(kModbusRow);
  ToggleCheck();
  EXPECT_EQ(Counts(), CountsText(0, 0));
  ToggleCheck();
  EXPECT_EQ(Counts(), "");
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

// The wait for a block's end follows the frame gap; a frame sent and echoed ends the
// block under way at once, its mark before the echo and outside its colour.
TEST_F(ReceiveCheckTest, TheFrameGapSetsTheBlockEndAndAnEchoEndsTheBlock) {
  Preferences preferences = dialog_.CurrentPreferences();
  preferences.frameGapMilliseconds = 1000;
  preferences.echoSent = true;
  dialog_.SetPreferences(preferences);
  PickRow(kModbusRow);
  ToggleCheck();
  const std::vector<std::uint8_t> good = {0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01, 0xF8, 0xB3};
  pty_.Write(good);
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 11);
  QTest::qWait(500);
  EXPECT_EQ(Counts(), CountsText(0, 0));
  EXPECT_EVENTUALLY_EQ(Counts(), CountsText(1, 0));

  pty_.Write(good);
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 22);
  Click(kManualSendButton);
  EXPECT_EQ(Counts(), CountsText(2, 0));
  const std::string sent = "0B 03 07 00 34 12 00 00   01 01 00 \r\n";
  EXPECT_TRUE(ReceiveText().ends_with("F8 B3 \u2713\r\n" + sent)) << ReceiveText();
  const std::vector<ui::PlainTextView::ColouredRange> ranges = dialog_.ReceiveBox()->ColouredRanges();
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].to, dialog_.ReceiveText().size());
  EXPECT_EQ(dialog_.ReceiveText().substr(ranges[0].from), sent);
}

}  // namespace
}  // namespace portprobe
