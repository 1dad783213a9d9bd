// Automatic replies in the window: received blocks answered by the rules window's rules.
#include <QCheckBox>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "app/reply_rules_window.h"
#include "checksum/crc.h"
#include "support/wait.h"

namespace portprobe {
namespace {

constexpr int kModbusChecksumRow = 7;
// Longer than the frame gap (100 ms), so a block has surely ended.
constexpr int kPastBlockEndMs = 300;

ByteFrame WithModbusCrc(ByteFrame frame) {
  const std::uint32_t value = kCrc16Modbus.Compute(frame);
  frame.push_back(value & 0xFF);
  frame.push_back(value >> 8);
  return frame;
}

const ByteFrame kRequest = WithModbusCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x03});
const ByteFrame kReply = WithModbusCrc({0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01});

class RepliesTest : public testing::ConnectedWindowTest {
 protected:
  ReplyRulesWindow& Rules() { return *dialog_.RepliesWindow(); }
  QTableWidget* Table() { return Rules().Table(); }
  QString Cell(int row, int column) {
    const QTableWidgetItem* item = Table()->item(row, column);
    return item ? item->text() : QString();
  }

  void OpenRulesWindow() {
    testing::ChooseTool(dialog_, prompter_, tools::kReplies);
    ASSERT_TRUE(Rules().isVisible());
    testing::ShowActive(Rules());
  }
  // A rule added as the user adds one: a new row, then its two cells typed in.
  void TypeRule(const QString& pattern, const QString& reply) {
    Rules().AddButton()->click();
    testing::TypeText(pattern);
    testing::PressKey(Qt::Key_Tab);
    testing::TypeText(reply);
    testing::PressKey(Qt::Key_Return);
  }
  // Sends a frame from the device and waits until the window has surely ended its block.
  void DeviceSends(const ByteFrame& frame) {
    const std::int64_t before = dialog_.RxCount();
    pty_.Write(frame);
    EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), before + static_cast<std::int64_t>(frame.size()));
  }
  // The device sends `request` and reads the window's `reply`, counted in TX.
  void ExpectAnswer(const ByteFrame& request, const ByteFrame& reply) {
    const std::int64_t sent = dialog_.TxCount() + static_cast<std::int64_t>(reply.size());
    pty_.Write(request);
    EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), sent);
    EXPECT_EQ(pty_.Read(reply.size()), reply);
  }
  void ExpectNoReply() {
    QTest::qWait(kPastBlockEndMs);
    EXPECT_EQ(pty_.Read(1, 50), ByteFrame{});
  }
};

TEST_F(RepliesTest, AReceivedModbusRequestIsAnsweredByItsRule) {
  OpenRulesWindow();
  TypeRule(QStringLiteral("02 03 ?? ?? ?? ?? ?? ??"), QStringLiteral("02 03 02 12 34 +crc16-modbus"));
  TypeRule(QStringLiteral("01 03 00 00 00 03 ?? ??"), QStringLiteral("01 03 06 00 EA 01 90 00 01 +crc16-modbus"));
  ASSERT_EQ(Table()->rowCount(), 2);
  EXPECT_EQ(Cell(1, ReplyRulesWindow::kPatternColumn), QStringLiteral("01 03 00 00 00 03 ?? ??"));
  EXPECT_EQ(Cell(1, ReplyRulesWindow::kReasonColumn), QString());
  EXPECT_EQ(Cell(1, ReplyRulesWindow::kHitsColumn), QStringLiteral("0"));

  Preferences echo = dialog_.CurrentPreferences();
  echo.echoSent = true;
  dialog_.SetPreferences(echo);
  ExpectAnswer(kRequest, kReply);
  EXPECT_EQ(dialog_.TxCount(), static_cast<std::int64_t>(kReply.size()));
  EXPECT_EQ(Cell(1, ReplyRulesWindow::kHitsColumn), QStringLiteral("1"));
  EXPECT_EQ(Cell(0, ReplyRulesWindow::kHitsColumn), QStringLiteral("0"));
  // The reply shows in the echo, as every send does.
  EXPECT_NE(dialog_.ReceiveText().find("01 03 06 00 EA 01 90 00   01 F8 B3"), std::string::npos)
      << dialog_.ReceiveText();

  // A block that no rule matches, or one shorter than the pattern, is not answered.
  DeviceSends(WithModbusCrc({0x03, 0x03, 0x00, 0x00, 0x00, 0x01}));
  ExpectNoReply();
  DeviceSends({0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05});
  ExpectNoReply();
  EXPECT_EQ(dialog_.TxCount(), static_cast<std::int64_t>(kReply.size()));

  // Switched off, the rules answer nothing and count nothing.
  Rules().EnabledCheck()->click();
  DeviceSends(kRequest);
  ExpectNoReply();
  EXPECT_EQ(Cell(1, ReplyRulesWindow::kHitsColumn), QStringLiteral("1"));
  Rules().EnabledCheck()->click();
  ExpectAnswer(kRequest, kReply);
  EXPECT_EQ(Cell(1, ReplyRulesWindow::kHitsColumn), QStringLiteral("2"));
  Rules().ResetHitsButton()->click();
  EXPECT_EQ(Cell(1, ReplyRulesWindow::kHitsColumn), QStringLiteral("0"));
}

// The window is busy (the test runs no events) while the device sends two blocks: when
// both are shown at once, the first is answered and marked before the second shows.
TEST_F(RepliesTest, BlocksShownTogetherAreAnsweredAndCheckedOneByOne) {
  OpenRulesWindow();
  TypeRule(QStringLiteral("01 03 00 00 00 03 ?? ??"), QStringLiteral("01 03 06 00 EA 01 90 00 01 +crc16-modbus"));
  Preferences echo = dialog_.CurrentPreferences();
  echo.echoSent = true;
  dialog_.SetPreferences(echo);
  dialog_.ComboBox(resources::kChecksumList)->setCurrentIndex(kModbusChecksumRow);
  testing::ChooseTool(dialog_, prompter_, tools::kReceiveCheck);
  const ByteFrame other = WithModbusCrc({0x02, 0x03, 0x00, 0x00, 0x00, 0x01});

  // Past the frame gap (100 ms), well inside the time after which a block goes unanswered.
  pty_.Write(kRequest);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  pty_.Write(other);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), static_cast<std::int64_t>(kReply.size()));
  EXPECT_EQ(pty_.Read(kReply.size()), kReply);
  QTest::qWait(kPastBlockEndMs);
  EXPECT_EQ(dialog_.ReceiveText(),
            "01 03 00 00 00 03 05 CB   \xE2\x9C\x93\r\n"
            "01 03 06 00 EA 01 90 00   01 F8 B3 \r\n"
            "02 03 00 00 00 01 84 39   \xE2\x9C\x93");
}

// A block the window could only see long after its end is not answered: a burst of
// late replies would be taken for answers to the device's later requests.
TEST_F(RepliesTest, ABlockSeenLongAfterItsEndIsNotAnswered) {
  OpenRulesWindow();
  TypeRule(QStringLiteral("01 03 00 00 00 03 ?? ??"), QStringLiteral("01 03 06 00 EA 01 90 00 01 +crc16-modbus"));
  pty_.Write(kRequest);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  ExpectNoReply();
  EXPECT_EQ(dialog_.TxCount(), 0);
  EXPECT_EQ(dialog_.RxCount(), static_cast<std::int64_t>(kRequest.size()));
  ExpectAnswer(kRequest, kReply);
}

TEST_F(RepliesTest, ACellThatIsNoRuleSaysWhyAndAnswersNothing) {
  OpenRulesWindow();
  TypeRule(QStringLiteral("01 03 00 00 00 3 ?? ??"), QStringLiteral("01 02"));
  TypeRule(QStringLiteral("01 ??"), QStringLiteral("01 03 +crc99"));
  EXPECT_NE(Cell(0, ReplyRulesWindow::kReasonColumn).indexOf(QStringLiteral("\"3\"")), -1);
  EXPECT_EQ(Table()->item(0, ReplyRulesWindow::kPatternColumn)->toolTip(), Cell(0, ReplyRulesWindow::kReasonColumn));
  EXPECT_EQ(Table()->item(0, ReplyRulesWindow::kReplyColumn)->toolTip(), QString());
  EXPECT_NE(Cell(1, ReplyRulesWindow::kReasonColumn).indexOf(QStringLiteral("crc99")), -1);
  EXPECT_EQ(Table()->item(1, ReplyRulesWindow::kReplyColumn)->toolTip(), Cell(1, ReplyRulesWindow::kReasonColumn));
  DeviceSends(kRequest);
  ExpectNoReply();

  // Mended, the rule is in force; a removed row answers no more.
  Table()->item(0, ReplyRulesWindow::kPatternColumn)->setText(QStringLiteral("01 03"));
  EXPECT_EQ(Cell(0, ReplyRulesWindow::kReasonColumn), QString());
  ExpectAnswer(kRequest, {0x01, 0x02});
  Table()->setCurrentCell(0, ReplyRulesWindow::kReplyColumn);
  Rules().RemoveButton()->click();
  ASSERT_EQ(Table()->rowCount(), 1);
  DeviceSends(kRequest);
  ExpectNoReply();
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(RepliesTest, LoadingAFileKeepsItsGoodRulesAndNamesItsBadLines) {
  OpenRulesWindow();
  const std::string path = folder_.WriteFile("rules.txt",
                                             "# device 1\n"
                                             "01 03 00 00 00 03 ?? ?? -> 01 03 06 00 EA 01 90 00 01 +crc16-modbus\n"
                                             "01 04 ?? -> 01 04 02 01 2C +crc16-mod\n"
                                             "02 03 -> \"OK # \\r\\n\"  # text\n");
  prompter_.openAnswers.push_back(QString::fromStdString(path));
  Rules().LoadButton()->click();
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_TRUE(prompter_.messages[0].contains(QString::fromStdString(path))) << prompter_.messages[0].toStdString();
  EXPECT_TRUE(prompter_.messages[0].contains(QStringLiteral("第3行: 应答：未知的校验：\"crc16-mod\"")))
      << prompter_.messages[0].toStdString();
  ASSERT_EQ(Table()->rowCount(), 2);
  EXPECT_EQ(Cell(1, ReplyRulesWindow::kReplyColumn), QStringLiteral("\"OK # \\r\\n\""));

  ExpectAnswer(kRequest, kReply);
  ExpectAnswer({0x02, 0x03}, {'O', 'K', ' ', '#', ' ', '\r', '\n'});

  // Saved, the rules read back as they are.
  const std::string saved = folder_.File("saved.txt");
  prompter_.saveAnswers.push_back(QString::fromStdString(saved));
  Rules().SaveButton()->click();
  const Expected<RuleFile> file = LoadReplyRules(saved);
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->errors.empty());
  ASSERT_EQ(file->rules.size(), 2u);
  EXPECT_EQ(file->rules[1].reply, (ByteFrame{'O', 'K', ' ', '#', ' ', '\r', '\n'}));

  // A file that cannot be read changes nothing.
  prompter_.openAnswers.push_back(folder_.Path().string().c_str());
  Rules().LoadButton()->click();
  EXPECT_EQ(prompter_.messages.size(), 2);
  EXPECT_EQ(Table()->rowCount(), 2);
}

TEST(RepliesRemembered, RulesAndTheirSwitchComeBackInTheNextRun) {
  const testing::PtyPair pty;
  const testing::TempDir config;
  testing::ScriptedPrompter prompter;
  TerminalOptions options = testing::PortsFirst({pty.SlavePath()});
  options.settingsFile = config.File("portprobe.ini");
  auto window = std::make_unique<MainDialog>(prompter, options);
  window->RepliesWindow()->SetRulesText("01 03 -> 02\n01 0G -> 03\n");
  window->RepliesWindow()->AddButton()->click();
  window->RepliesWindow()->Table()->item(2, ReplyRulesWindow::kPatternColumn)->setText(QStringLiteral("05"));
  window->RepliesWindow()->EnabledCheck()->click();
  window.reset();
  const QSettings stored(QString::fromStdString(options.settingsFile), QSettings::IniFormat);
  EXPECT_EQ(stored.value(QStringLiteral("replies/enabled")).toString(), QStringLiteral("false"));

  window = std::make_unique<MainDialog>(prompter, options);
  EXPECT_EQ(window->RepliesWindow()->RulesText(), "01 03 -> 02\n01 0G -> 03\n05 -> \n");
  EXPECT_FALSE(window->RepliesWindow()->EnabledCheck()->isChecked());
  // The bad rows come back as they were typed, still marked.
  EXPECT_FALSE(window->RepliesWindow()->Table()->item(1, ReplyRulesWindow::kReasonColumn)->text().isEmpty());
}

}  // namespace
}  // namespace portprobe
