// What reaches the window while it is busy: a message box showing, a parser running.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "support/wait.h"
#include "ui/plain_text_view.h"

namespace portprobe {
namespace {

using namespace resources;

const std::string kEndlessParser = "void main()\r\n{\r\nagain:\r\ngoto again\r\n}\r\n";
const std::string kExitBanner = "\r\n---Exit Parser  unfreeptr=0--------\r\n";

class BusyWindowTest : public testing::ConnectedWindowTest {
 protected:
  void Menu(int id) {
    prompter_.menuChoices.push_back(id);
    Click(kMenuButton);
  }
  void LoadEndlessParser() {
    prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile("endless.txt", kEndlessParser)));
    Menu(tools::kLoadParser);
    prompter_.messages.clear();
  }
  void StartAutoSend(const char* period) {
    dialog_.Edit(kPeriodEdit)->setText(QString::fromLatin1(period));
    dialog_.CheckBox(kAutoSendCheck)->click();
  }
};

TEST_F(BusyWindowTest, WhatComesDuringAParserRunWaitsForItsEnd) {
  LoadEndlessParser();
  // The first offer is dismissed while the device sends and goes away; it comes again,
  // and this time the window is closed, which stops the run.
  prompter_.stopAnswers = {false, false};
  prompter_.whileStopIsOffered = [&] {
    if (prompter_.stopOffers.size() == 1) {
      pty_.Write("AB");
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      pty_.CloseMaster();
    } else {
      dialog_.reject();
    }
  };
  dialog_.show();
  Menu(tools::kFirstParser);
  EXPECT_EQ(prompter_.stopOffers.size(), 2);
  EXPECT_TRUE(testing::WaitUntil([&] { return dialog_.RxCount() == 2; }));
  // The run's output stands whole; the bytes come after it.
  const std::string box = dialog_.ControlText(kReceiveBox).toStdString();
  // Then the line that says the device went away; no message box.
  const std::size_t bytes = box.find(kExitBanner + "41 42 ");
  EXPECT_NE(bytes, std::string::npos) << box;
  EXPECT_GT(box.find(pty_.SlavePath()), bytes) << box;
  EXPECT_TRUE(prompter_.messages.isEmpty());
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_FALSE(dialog_.IsOpen());
}

TEST_F(BusyWindowTest, AutoSendWaitsWhileAParserRuns) {
  StartAutoSend("30");
  EXPECT_TRUE(testing::WaitUntil([&] { return dialog_.TxCount() >= 22; }));
  LoadEndlessParser();
  std::size_t sentDuringRun = 0;
  prompter_.stopAnswers = {true};
  prompter_.whileStopIsOffered = [&] {
    pty_.Read(1 << 16, 0);  // what was sent before the run
    const std::int64_t before = dialog_.TxCount();
    QTest::qWait(200);  // ticks come, and must not send while the run goes on
    sentDuringRun = static_cast<std::size_t>(dialog_.TxCount() - before);
  };
  Menu(tools::kFirstParser);
  EXPECT_EQ(sentDuringRun, 0u);
  const std::int64_t after = dialog_.TxCount();
  EXPECT_TRUE(testing::WaitUntil([&] { return dialog_.TxCount() > after; }));
}

TEST_F(BusyWindowTest, APortChangeThatFailsStopsAutoSendWithOneMessage) {
  // The port is closed after the failed open, so no tick piles up "串口未打开！" boxes
  // while the first box is still up.
  StartAutoSend("20");
  prompter_.whileMessageShows = [] { QTest::qWait(250); };
  testing::Choose(dialog_.ComboBox(kPortList), 1);  // "---------"
  QTest::qWait(500);
  EXPECT_FALSE(dialog_.CheckBox(kAutoSendCheck)->isChecked());
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("打开---------失败:已被占用或不存在!")});
}

TEST_F(BusyWindowTest, AHangUpOfAPortClosedMeanwhileIsNotTakenForTheNextOne) {
  testing::PtyPair other;
  testing::ShowActive(dialog_);
  QTest::mouseClick(dialog_.ComboBox(kPortList)->lineEdit(), Qt::LeftButton);
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  testing::TypeText(QString::fromStdString(other.SlavePath()));
  pty_.CloseMaster();
  // The hang-up is queued but not yet seen when the user confirms the other port.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  testing::PressKey(Qt::Key_Return);
  QTest::qWait(100);
  EXPECT_TRUE(dialog_.IsOpen());
  EXPECT_TRUE(dialog_.WantOpen());
  EXPECT_TRUE(prompter_.messages.isEmpty());
  other.Write("ok");
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 2);
}

}  // namespace
}  // namespace portprobe
