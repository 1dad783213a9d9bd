// Sends to devices that take nothing, go away mid-send or are shared with others.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include <thread>

#include "app/dialog_test_support.h"
#include "support/holding_process.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

// Whether a wake-up posted now is served, that is whether the window still answers.
bool EventLoopAnswers() {
  bool served = false;
  QTimer::singleShot(0, [&] { served = true; });
  return testing::WaitUntil([&] { return served; }, 10000);
}

class WriteQueueTest : public testing::ConnectedWindowTest {
 protected:
  QString Status() { return dialog_.Label(kStatusLabel)->text(); }
  QString ReceiveText() { return QString::fromStdString(std::string(dialog_.ReceiveText())); }
  // The receive box's line for a device gone during a send, with what was written.
  QString GoneLine() {
    return QStringLiteral("\r\n串口%1已断开，设备回来后自动重连。\n发送被中断，已写出%2字节。\r\n")
        .arg(QString::fromStdString(pty_.SlavePath()))
        .arg(dialog_.TxCount());
  }
  // A send box of `kibibytes` lines that are 1024 bytes each on the wire (CR LF ends).
  void FillSendBox(int kibibytes) {
    dialog_.CheckBox(kHexSendCheck)->setChecked(false);
    const QString line = QString(1022, QLatin1Char('x')) + QLatin1Char('\n');
    SetSendText(line.repeated(kibibytes));
  }
  void SendKibibytes(int kibibytes) {
    FillSendBox(kibibytes);
    Click(kManualSendButton);
  }
  // Everything the device side can still read; the bytes that reached it.
  std::size_t DrainDevice() { return pty_.Read(SIZE_MAX, 200).size(); }
};

TEST_F(WriteQueueTest, ADeviceThatReadsNothingNeverHoldsTheWindow) {
  // Auto send of 64 KiB every 10 ms into a pseudo-terminal that nobody reads.
  FillSendBox(64);
  dialog_.Edit(kPeriodEdit)->setText(QStringLiteral("10"));
  dialog_.CheckBox(kAutoSendCheck)->click();
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(EventLoopAnswers()) << i;
  EXPECT_TRUE(testing::WaitUntil([&] { return Status().endsWith(QStringLiteral(" 发送阻塞")); }, 10000))
      << Status().toStdString();
  EXPECT_TRUE(Status().contains(QStringLiteral(" OPENED,")));
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(EventLoopAnswers()) << i;

  // Closing acts at once and says what it dropped: the full queue and at most the one
  // send waiting for room, since ticks skip while the queue is full.
  Click(kOpenButton);
  EXPECT_FALSE(dialog_.IsOpen());
  EXPECT_FALSE(dialog_.CheckBox(kAutoSendCheck)->isChecked());
  ASSERT_EQ(prompter_.messages.size(), 1) << prompter_.messages.join(QLatin1Char('|')).toStdString();
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("^串口已关闭，(\\d+)字节尚未发出，已丢弃。$")).match(prompter_.messages[0]);
  ASSERT_TRUE(match.hasMatch()) << prompter_.messages[0].toStdString();
  const std::size_t dropped = match.captured(1).toULongLong();
  EXPECT_GE(dropped, SerialLink::kWriteQueueCapacity);
  EXPECT_LE(dropped, SerialLink::kWriteQueueCapacity + 64 * 1024);
  EXPECT_FALSE(Status().contains(QStringLiteral("发送阻塞")));
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) EXPECT_TRUE(dialog_.Button(id)->isEnabled());

  // TX counts what reached the device, not what was queued.
  EXPECT_EQ(static_cast<std::size_t>(dialog_.TxCount()), DrainDevice());
}

TEST_F(WriteQueueTest, ASendLargerThanTheQueueWaitsWithTheSendControlsHeld) {
  SendKibibytes(3 * 1024);
  EXPECT_FALSE(dialog_.Button(kManualSendButton)->isEnabled());
  ASSERT_TRUE(EventLoopAnswers());
  // The device reads everything: the whole send arrives, counted once.
  std::size_t arrived = 0;
  std::thread device([&] { arrived = pty_.Read(3 << 20, 5000).size(); });
  EXPECT_EVENTUALLY_EQ_WITHIN(dialog_.TxCount(), 3 << 20, 20000);
  device.join();
  EXPECT_EQ(arrived, std::size_t{3} << 20);
  EXPECT_TRUE(dialog_.Button(kManualSendButton)->isEnabled());
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

// The window ends at once and asks nothing: a box would keep the program alive.
TEST_F(WriteQueueTest, ClosingTheWindowDuringAStuckSendActsAtOnce) {
  SendKibibytes(1536);
  dialog_.reject();
  EXPECT_FALSE(dialog_.IsOpen());
  EXPECT_EQ(prompter_.messages, QStringList());
}

TEST_F(WriteQueueTest, ClosingTheWindowDuringAStuckFileSendEndsItPromptly) {
  dialog_.CheckBox(kHexSendCheck)->setChecked(false);
  prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile("large.bin", std::string(4 << 20, 'z'))));
  Click(kSendFileButton);
  // The user closes the window while the send waits for a device that takes nothing.
  prompter_.whileStopIsOffered = [&] { dialog_.reject(); };
  Click(kManualSendButton);
  EXPECT_EQ(prompter_.stopOffers.size(), 1);
  EXPECT_FALSE(dialog_.IsOpen());
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(prompter_.messages, QStringList());
}

TEST_F(WriteQueueTest, TheFarEndClosingDuringASendStopsItAndSaysWhatWasWritten) {
  SendKibibytes(1536);
  pty_.Read(100000);
  pty_.CloseMaster();
  EXPECT_TRUE(testing::WaitUntil([&] { return !dialog_.IsOpen(); }));
  EXPECT_TRUE(Status().contains(QStringLiteral(" CLOSED,")));
  EXPECT_GE(dialog_.TxCount(), 100000);
  EXPECT_TRUE(prompter_.messages.isEmpty());
  EXPECT_TRUE(ReceiveText().endsWith(GoneLine())) << ReceiveText().toStdString();
}

TEST_F(WriteQueueTest, TheFarEndClosingDuringAFileSendStopsItAtOnce) {
  dialog_.CheckBox(kHexSendCheck)->setChecked(false);
  prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile("large.bin", std::string(4 << 20, 'z'))));
  Click(kSendFileButton);
  std::thread device([&] {
    pty_.Read(100000);
    pty_.CloseMaster();
  });
  Click(kManualSendButton);  // returns once the send has ended
  device.join();
  // The line comes with the hang-up, without waiting for anything the user does.
  EXPECT_TRUE(testing::WaitUntil([&] { return ReceiveText().endsWith(GoneLine()); })) << ReceiveText().toStdString();
  EXPECT_TRUE(prompter_.messages.isEmpty()) << prompter_.messages.join(QLatin1Char('|')).toStdString();
  EXPECT_GE(dialog_.TxCount(), 100000);
  EXPECT_LT(dialog_.TxCount(), 4 << 20);
  EXPECT_FALSE(dialog_.IsOpen());
  EXPECT_EQ(dialog_.Button(kOpenButton)->text(), QStringLiteral("打开"));
  EXPECT_TRUE(Status().contains(QStringLiteral(" CLOSED,")));
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) EXPECT_TRUE(dialog_.Button(id)->isEnabled());
}

TEST(SharedPort, AnotherProgramHoldingThePortIsNamedOnceAndThePortOpens) {
  testing::PtyPair pty;
  testing::HoldingProcess other(pty.SlavePath());
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({pty.SlavePath()}));
  EXPECT_TRUE(dialog.IsOpen());
  ASSERT_EQ(prompter.messages.size(), 1);
  EXPECT_EQ(prompter.messages[0], QStringLiteral("注意: %1同时被其他程序打开: sleep(进程%2)。收到的数据可能被它读走。")
                                      .arg(QString::fromStdString(pty.SlavePath()))
                                      .arg(other.Pid()));
  pty.Write("ok");
  EXPECT_EVENTUALLY_EQ(dialog.RxCount(), 2);
  EXPECT_EQ(prompter.messages.size(), 1);
}

}  // namespace
}  // namespace portprobe
