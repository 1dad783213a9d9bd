#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <signal.h>

#include "app/dialog_test_support.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

ByteFrame Bytes(const std::string& text) { return ByteFrame(text.begin(), text.end()); }

class SendTest : public testing::ConnectedWindowTest {
 protected:
  void SetHexSend(bool on) { dialog_.CheckBox(kHexSendCheck)->setChecked(on); }
};

TEST_F(SendTest, SendsTheBoxAsHexOrAsText) {
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(11), ByteFrame({0x0b, 0x03, 0x07, 0x00, 0x34, 0x12, 0x00, 0x00, 0x01, 0x01, 0x00}));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 11);
  EXPECT_EVENTUALLY_EQ(dialog_.Label(kTxLabel)->text(), QStringLiteral("TX:11"));

  // Decoding stops at the first pair that is not a group.
  SetSendText(QStringLiteral("0b 0 3"));
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(1), ByteFrame({0x0b}));
  SetSendText(QStringLiteral("0x12"));
  Click(kManualSendButton);
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 12);

  // Character mode: UTF-8 bytes, line ends as CR LF, nothing added.
  SetHexSend(false);
  SetSendText(QStringLiteral("AB\n中"));
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(7), Bytes("AB\r\n\xE4\xB8\xAD"));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 19);
  EXPECT_TRUE(prompter_.messages.isEmpty());
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) EXPECT_TRUE(dialog_.Button(id)->isEnabled());
}

// Text that the hex grammar stops in is sent as far as it reads, and the status line
// says where it stopped; the place is selected in the box until the next send.
TEST_F(SendTest, SaysWhereHexTextStoppedAndMarksIt) {
  testing::ShowActive(dialog_);
  QTest::mouseClick(SendBox()->viewport(), Qt::LeftButton);
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  testing::TypeText(QStringLiteral("01"));
  testing::PressKey(Qt::Key_Return);
  testing::TypeText(QStringLiteral("0G 03"));
  testing::PressKey(Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(pty_.Read(1), ByteFrame({0x01}));
  const auto status = [this] { return dialog_.Label(kStatusLabel)->text(); };
  EXPECT_TRUE(status().endsWith(QStringLiteral(" 第4个字符起不是十六进制，只发送了1字节"))) << status().toStdString();
  EXPECT_EQ(SendBox()->SelectedText(), QStringLiteral("0G"));

  SetSendText(QStringLiteral("中 01"));
  testing::PressKey(Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(status().endsWith(QStringLiteral(" 第1个字符起不是十六进制，只发送了0字节"))) << status().toStdString();
  EXPECT_EQ(SendBox()->SelectedText(), QStringLiteral("中"));

  SetSendText(QStringLiteral("01 02"));
  testing::PressKey(Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(pty_.Read(2), ByteFrame({0x01, 0x02}));
  EXPECT_FALSE(status().contains(QStringLiteral("十六进制"))) << status().toStdString();
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(SendTest, SendsALongBoxWhole) {
  SetHexSend(false);
  const std::string text(10000, 'x');
  SetSendText(QString::fromStdString(text));
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(text.size()), Bytes(text));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 10000);

  SetHexSend(true);
  QString hex;
  for (int i = 0; i < 3000; ++i) hex += QStringLiteral("%1 ").arg(i % 256, 2, 16, QLatin1Char('0'));
  SetSendText(hex);
  Click(kManualSendButton);
  const ByteFrame sent = pty_.Read(3000);
  ASSERT_EQ(sent.size(), 3000u);
  EXPECT_EQ(sent[2999], 2999 % 256);
}

TEST_F(SendTest, RefusesToSendWithThePortClosed) {
  Click(kOpenButton);
  Click(kManualSendButton);
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("串口未打开！")});
  EXPECT_EQ(dialog_.TxCount(), 0);
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) EXPECT_TRUE(dialog_.Button(id)->isEnabled());
}

TEST_F(SendTest, ChecksumButtonAppendsTheSelectedChecksum) {
  QComboBox* rows = dialog_.ComboBox(kChecksumList);
  // Row 0: the box is not touched, not even re-formatted.
  SetSendText(QStringLiteral("0b  03"));
  Click(kChecksumButton);
  EXPECT_EQ(SendText(), QStringLiteral("0b  03"));

  SetSendText(QStringLiteral("0b 03 07 00 34 12 00 00 01 01 00"));
  rows->setCurrentIndex(1);
  Click(kChecksumButton);
  EXPECT_EQ(SendText(), QStringLiteral("0B 03 07 00 34 12 00 00   01 01 00 29 "));

  SetSendText(QStringLiteral("01 02 03"));
  rows->setCurrentIndex(3);
  Click(kChecksumButton);
  EXPECT_EQ(SendText(), QStringLiteral("01 02 03 61 31 "));
  // Pressing it again appends a checksum over the first one.
  rows->setCurrentIndex(1);
  Click(kChecksumButton);
  EXPECT_EQ(SendText(), QStringLiteral("01 02 03 61 31 50 "));

  SetHexSend(false);
  Click(kChecksumButton);
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("十六进制发送才可计算校验和!")});
  EXPECT_EQ(SendText(), QStringLiteral("01 02 03 61 31 50 "));
}

TEST_F(SendTest, ChecksumProgramsAnswerOrAreStopped) {
  using std::filesystem::perms;
  folder_.WriteFile("self_1", "#!/bin/sh\necho 0x01000055\n", perms::owner_all);
  folder_.WriteFile("self_2", "#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 30\n", perms::owner_all);
  QComboBox* rows = dialog_.ComboBox(kChecksumList);
  SetSendText(QStringLiteral("0a ff"));
  rows->setCurrentIndex(4);
  Click(kChecksumButton);
  EXPECT_EQ(SendText(), QStringLiteral("0A FF 55 "));

  // A program that does not end is offered for stopping; stopped, it leaves the frame.
  prompter_.stopAnswers = {true};
  rows->setCurrentIndex(5);
  Click(kChecksumButton);
  EXPECT_EQ(prompter_.stopOffers.size(), 1);
  EXPECT_EQ(SendText(), QStringLiteral("0A FF 55 "));
  const int pid = std::stoi(testing::ReadFile(folder_.File("self_2.pid")));
  EXPECT_EQ(::kill(pid, 0), -1);

  rows->setCurrentIndex(6);
  Click(kChecksumButton);
  EXPECT_EQ(prompter_.messages,
            QStringList{QString::fromStdString(folder_.File("self_3")) + QStringLiteral(" :自定义校验程序不存在!")});
}

TEST_F(SendTest, HexAndCharButtonsRewriteTheBox) {
  SetSendText(QStringLiteral("AB\n"));
  Click(kHexButton);
  EXPECT_EQ(SendText(), QStringLiteral("41 42 0D 0A "));
  SetSendText(QStringLiteral("中"));
  Click(kHexButton);
  EXPECT_EQ(SendText(), QStringLiteral("E4 B8 AD "));
  Click(kCharButton);
  EXPECT_EQ(SendText(), QStringLiteral("中"));

  SetSendText(QStringLiteral("41 42 00 43"));
  Click(kCharButton);
  EXPECT_EQ(SendText(), QStringLiteral("AB"));
  SetSendText(QStringLiteral("41 42 zz 43"));
  Click(kCharButton);
  EXPECT_EQ(SendText(), QStringLiteral("AB"));
  SetSendText(QStringLiteral("48 0D 0A 49"));
  Click(kCharButton);
  EXPECT_EQ(SendText(), QStringLiteral("H\nI"));

  const QString tooLong(1025, QLatin1Char('x'));
  SetSendText(tooLong);
  Click(kHexButton);
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("Too Long Data To Do!")});
  EXPECT_EQ(SendText(), tooLong);
  SetSendText(QString(4097, QLatin1Char('1')));
  Click(kCharButton);
  EXPECT_EQ(prompter_.messages.size(), 2);
}

TEST_F(SendTest, ClearSendEmptiesTheBoxAndTheFileLabel) {
  Click(kClearSendButton);
  EXPECT_TRUE(SendText().isEmpty());
  EXPECT_EQ(dialog_.Label(kSendFileLabel)->text(), QStringLiteral("未指定发送文件"));
  Click(kManualSendButton);  // an empty box writes nothing and says nothing
  EXPECT_EQ(dialog_.TxCount(), 0);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

// Text that the user pastes into the send box: one line of hex text of `bytes` bytes.
QString HexLine(std::size_t bytes) {
  QString text = QStringLiteral("0b 03 07 00 ").repeated(static_cast<qsizetype>(bytes / 12 + 1));
  text.truncate(static_cast<qsizetype>(bytes));
  return text;
}

// The window answers a turn of its event loop.
bool Responds() {
  bool answered = false;
  QTimer::singleShot(0, [&] { answered = true; });
  return testing::WaitUntil([&] { return answered; });
}

TEST_F(SendTest, TheSendBoxTakesTypedLinesAndBigPastesUpToFourMebibytes) {
  testing::ShowActive(dialog_);
  SetHexSend(false);
  QTest::mouseClick(SendBox()->viewport(), Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), SendBox());
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  testing::TypeText(QStringLiteral("AB"));
  testing::PressKey(Qt::Key_Return);
  testing::TypeText(QStringLiteral("C"));
  testing::PressKey(Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(pty_.Read(5), Bytes("AB\r\nC"));

  constexpr std::size_t kLimit = std::size_t{4} << 20;
  QTest::mouseClick(SendBox()->viewport(), Qt::LeftButton);
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  QApplication::clipboard()->setText(HexLine(kLimit - 1));
  testing::PressKey(Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(Responds());
  EXPECT_EQ(SendBox()->Text().Size(), kLimit - 1);
  testing::TypeText(QStringLiteral("x"));
  EXPECT_EQ(SendBox()->Text().Size(), kLimit);
  EXPECT_TRUE(prompter_.messages.isEmpty());

  // One more byte is refused, and so is a paste that would not fit, whole.
  testing::TypeText(QStringLiteral("y"));
  testing::PressKey(Qt::Key_Home, Qt::ControlModifier);
  testing::PressKey(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(SendBox()->Text().Size(), kLimit);
  ASSERT_EQ(prompter_.messages.size(), 2);
  EXPECT_TRUE(prompter_.messages[0].contains(QStringLiteral("“发送文件”")));
  EXPECT_TRUE(SendText().endsWith(QStringLiteral("x")));
  // Deleting still works, and what is left can be pasted again.
  testing::PressKey(Qt::Key_End, Qt::ControlModifier);
  testing::PressKey(Qt::Key_Backspace);
  EXPECT_EQ(SendBox()->Text().Size(), kLimit - 1);
  EXPECT_TRUE(Responds());
  EXPECT_TRUE(dialog_.isVisible());
}

}  // namespace
}  // namespace portprobe
