#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>

#include "app/dialog_test_support.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

class AutoSendTest : public testing::ConnectedWindowTest {
 protected:
  QCheckBox* AutoSend() { return dialog_.CheckBox(kAutoSendCheck); }
  void SetPeriod(const QString& text) { dialog_.Edit(kPeriodEdit)->setText(text); }
  // Frames that arrive within `milliseconds`, each frame being the start-up send box.
  int FramesWithin(int milliseconds) {
    std::size_t bytes = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < milliseconds) {
      QTest::qWait(20);
      bytes += pty_.Read(1 << 16, 0).size();
    }
    return static_cast<int>(bytes / 11);
  }
};

TEST_F(AutoSendTest, RepeatsTheSendUntilUncheckedOrClosed) {
  SetPeriod(QStringLiteral("100"));
  AutoSend()->click();
  ASSERT_TRUE(AutoSend()->isChecked());
  const int frames = FramesWithin(1000);
  EXPECT_GE(frames, 2);
  EXPECT_LE(frames, 12);
  EXPECT_EQ(dialog_.TxCount() % 11, 0);

  AutoSend()->click();
  QTest::qWait(50);
  pty_.Read(1 << 16, 0);
  EXPECT_EQ(FramesWithin(300), 0);

  AutoSend()->click();
  EXPECT_GE(FramesWithin(300), 1);
  Click(kOpenButton);  // closing the port ends auto send
  EXPECT_FALSE(AutoSend()->isChecked());
  EXPECT_EQ(FramesWithin(300), 0);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(AutoSendTest, RefusesAClosedPortAndInvalidPeriods) {
  SetPeriod(QStringLiteral("5"));
  AutoSend()->click();
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("“请填入一个在10和10000000之间的整数。”")});
  EXPECT_FALSE(AutoSend()->isChecked());
  SetPeriod(QStringLiteral("fast"));
  AutoSend()->click();
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("“请填入一个正整数。”"));
  EXPECT_FALSE(AutoSend()->isChecked());
  EXPECT_EQ(FramesWithin(200), 0);

  SetPeriod(QStringLiteral("1000"));
  Click(kOpenButton);
  AutoSend()->click();
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("自动发送,请先打开串口!"));
  EXPECT_FALSE(AutoSend()->isChecked());
}

TEST_F(AutoSendTest, APeriodTypedWhileRunningIsReadAtTheNextTick) {
  SetPeriod(QStringLiteral("50"));
  AutoSend()->click();
  // Not a number: read as 0 at the tick and raised to the shortest period.
  SetPeriod(QStringLiteral("oops"));
  EXPECT_EVENTUALLY_EQ(dialog_.AutoSendPeriod(), 10u);
  SetPeriod(QStringLiteral("  250ms"));
  EXPECT_EVENTUALLY_EQ(dialog_.AutoSendPeriod(), 250u);
  AutoSend()->click();
}

class FileSendTest : public testing::ConnectedWindowTest {
 protected:
  void Choose(const std::string& name, const std::string& content) {
    prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile(name, content)));
    Click(kSendFileButton);
  }
  void SetHexSend(bool on) { dialog_.CheckBox(kHexSendCheck)->setChecked(on); }
};

TEST_F(FileSendTest, ShowsTheFileAndSendsItFromTheDisk) {
  Choose("raw.bin", std::string("AB\0CD", 5));
  EXPECT_EQ(SendText(), QStringLiteral("AB"));
  EXPECT_EQ(dialog_.Label(kSendFileLabel)->text(), QString::fromStdString(folder_.File("raw.bin")) + " (5 字节)");
  EXPECT_EQ(dialog_.Label(kSendFileLabel)->toolTip(), QString::fromStdString(folder_.File("raw.bin")));
  SetHexSend(false);
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(5), ByteFrame({'A', 'B', 0, 'C', 'D'}));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 5);

  // Hexadecimal mode counts the 3 bytes written, not the 8 characters read.
  SetHexSend(true);
  Choose("frame.txt", "01 02 03 ");
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(3), ByteFrame({1, 2, 3}));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 5 + 3);

  // A hex file that is no hex sends nothing, and the status line says why.
  Choose("words.txt", "\n hello");
  Click(kManualSendButton);
  EXPECT_EVENTUALLY_EQ(dialog_.Label(kStatusLabel)->text().endsWith(QStringLiteral(" 第3个字符起不是十六进制，只发送了0字节")), true);
  EXPECT_EQ(dialog_.TxCount(), 8);

  Choose("space.txt", " ");
  Click(kManualSendButton);
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("读十六进制文件出错，请检查格式！")});
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 8);
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) EXPECT_TRUE(dialog_.Button(id)->isEnabled());

  // After clearing, the box is what is sent again.
  Click(kClearSendButton);
  EXPECT_EQ(dialog_.Label(kSendFileLabel)->text(), QStringLiteral("未指定发送文件"));
  SetSendText(QStringLiteral("7f"));
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(1), ByteFrame({0x7f}));
}

// The chosen file is what is sent: a file that is gone sends nothing and is forgotten
// (auto send stops), a file that changed is sent and shown as it is now.
TEST_F(FileSendTest, AFileThatIsGoneOrChangedIsNeverSentFromMemory) {
  SetHexSend(false);
  Choose("gone.txt", "AB");
  std::filesystem::remove(folder_.File("gone.txt"));
  testing::ShowActive(dialog_);
  testing::PressKey(Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(prompter_.messages, QStringList{"发送文件" + QString::fromStdString(folder_.File("gone.txt")) + "已不存在"});
  EXPECT_EQ(dialog_.Label(kSendFileLabel)->text(), QStringLiteral("未指定发送文件"));
  EXPECT_TRUE(pty_.Read(1, 200).empty());
  EXPECT_EQ(dialog_.TxCount(), 0);

  Choose("changing.txt", "EF");
  folder_.WriteFile("changing.txt", "GHIJ");
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(4), ByteFrame({'G', 'H', 'I', 'J'}));
  EXPECT_EQ(SendText(), QStringLiteral("GHIJ"));
  EXPECT_EQ(dialog_.Label(kSendFileLabel)->text(), QString::fromStdString(folder_.File("changing.txt")) + " (4 字节)");

  dialog_.Edit(kPeriodEdit)->setText(QStringLiteral("50"));
  dialog_.CheckBox(kAutoSendCheck)->click();
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount() >= 8, true);
  std::filesystem::remove(folder_.File("changing.txt"));
  EXPECT_EVENTUALLY_EQ(prompter_.messages.size(), 2);
  EXPECT_FALSE(dialog_.CheckBox(kAutoSendCheck)->isChecked());
  QTest::qWait(150);
  pty_.Read(1 << 16, 0);  // what the ticks before the removal sent
  EXPECT_TRUE(pty_.Read(1, 200).empty());
}

TEST_F(FileSendTest, DecodesAHexFileAsOneStream) {
  std::string text;
  ByteFrame expected;
  for (int i = 0; i < 4000; ++i) {
    char group[4];
    std::snprintf(group, sizeof group, "%02x ", i % 256);
    text += group;
    expected.push_back(static_cast<std::uint8_t>(i % 256));
  }
  // Groups of three characters put the group 1365 across the first 4096-byte boundary.
  ASSERT_EQ(text.substr(4095, 2), "55");
  Choose("big.txt", text);
  Click(kManualSendButton);
  EXPECT_EQ(pty_.Read(expected.size()), expected);
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 4000);
}

TEST_F(FileSendTest, ReportsAFileThatCannotBeRead) {
  prompter_.openAnswers.push_back(QString::fromStdString(folder_.Path().string()));
  Click(kSendFileButton);
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_TRUE(prompter_.messages[0].contains(QString::fromStdString(folder_.Path().string())));
  EXPECT_EQ(SendText(), QStringLiteral("0b 03 07 00 34 12 00 00 01 01 00"));

  // A chosen file that has become a directory by the time it is sent.
  Choose("later.txt", "01");
  std::filesystem::remove(folder_.File("later.txt"));
  std::filesystem::create_directory(folder_.File("later.txt"));
  Click(kManualSendButton);
  ASSERT_EQ(prompter_.messages.size(), 2);
  EXPECT_TRUE(prompter_.messages[1].contains(QString::fromStdString(folder_.File("later.txt"))));
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) EXPECT_TRUE(dialog_.Button(id)->isEnabled());
}

TEST_F(FileSendTest, ALongSendShowsItsProgressAndCanBeStopped) {
  // Nobody reads the far end, so the pseudo-terminal fills up and the send stalls.
  SetHexSend(false);
  Choose("large.bin", std::string(4 << 20, 'z'));
  prompter_.stopAnswers = {true};
  Click(kManualSendButton);
  ASSERT_EQ(prompter_.stopOffers.size(), 1);
  EXPECT_TRUE(prompter_.stopOffers[0].contains(QStringLiteral("正在发送文件")));
  EXPECT_GT(dialog_.TxCount(), 0);
  EXPECT_LT(dialog_.TxCount(), 4 << 20);
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) EXPECT_TRUE(dialog_.Button(id)->isEnabled());
}

TEST_F(FileSendTest, RefusesWhatIsNoRegularFileWithoutWaitingOnIt) {
  const std::string fifo = folder_.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  prompter_.openAnswers = {QStringLiteral("/dev/zero"), QString::fromStdString(fifo)};
  EXPECT_TRUE(testing::AnswersWithin(10000, [&] {
    Click(kSendFileButton);
    Click(kSendFileButton);
  }));
  EXPECT_EQ(prompter_.messages,
            (QStringList{QStringLiteral("无法读取文件/dev/zero: 不是普通文件"),
                         QStringLiteral("无法读取文件%1: 不是普通文件").arg(QString::fromStdString(fifo))}));
  EXPECT_EQ(SendText(), QStringLiteral("0b 03 07 00 34 12 00 00 01 01 00"));

  // A chosen file that is a FIFO by the time it is sent: refused, and the window is free.
  Choose("later.txt", "01");
  std::filesystem::remove(folder_.File("later.txt"));
  ASSERT_EQ(::mkfifo(folder_.File("later.txt").c_str(), 0600), 0);
  EXPECT_TRUE(testing::AnswersWithin(10000, [&] { Click(kManualSendButton); }));
  ASSERT_EQ(prompter_.messages.size(), 3);
  EXPECT_EQ(prompter_.messages[2],
            QStringLiteral("无法读取文件%1: 不是普通文件").arg(QString::fromStdString(folder_.File("later.txt"))));
  for (int id : {kManualSendButton, kSendFileButton, kClearSendButton}) EXPECT_TRUE(dialog_.Button(id)->isEnabled());
}

TEST_F(FileSendTest, ALargeFileIsShownBySizeAndSentInPieces) {
  // A sparse file of 1 GiB is chosen at once, and not read into the send box.
  const std::string sparse = folder_.WriteFile("sparse.bin", "");
  std::filesystem::resize_file(sparse, std::uint64_t{1} << 30);
  prompter_.openAnswers.push_back(QString::fromStdString(sparse));
  EXPECT_TRUE(testing::AnswersWithin(10000, [&] { Click(kSendFileButton); }));
  EXPECT_EQ(dialog_.Label(kSendFileLabel)->text(), QString::fromStdString(sparse) + " (1073741824 字节)");
  EXPECT_TRUE(SendText().isEmpty());

  // Just over the send box's limit, in hexadecimal mode: decoded while it is sent.
  std::string text;
  ByteFrame expected;
  for (int i = 0; text.size() <= (1u << 20); ++i) {
    char group[4];
    std::snprintf(group, sizeof group, "%02X ", i % 256);
    text += group;
    expected.push_back(static_cast<std::uint8_t>(i % 256));
  }
  SetSendText(QStringLiteral("old"));
  Choose("large.txt", text);
  EXPECT_TRUE(SendText().isEmpty());
  SetHexSend(true);
  std::thread reader([&] { EXPECT_EQ(pty_.Read(expected.size(), 20000), expected); });
  Click(kManualSendButton);
  reader.join();
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), static_cast<std::int64_t>(expected.size()));
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

}  // namespace
}  // namespace portprobe
