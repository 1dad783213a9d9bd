#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTime>
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/dialog_test_support.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::ReadFile;

const std::string kStamp = R"(\[\d\d:\d\d:\d\d\.\d\d\d\] )";

// Timestamps and the echo of sent frames, with capture on into the test's own
// folder (standing in for $HOME).
class EchoTest : public testing::ConnectedWindowTest {
 protected:
  testing::ScopedEnvironment home_{"HOME", folder_.Path().string()};

  std::string ReceiveText() const { return std::string(dialog_.ReceiveText()); }
  std::string CaptureFile() const { return folder_.File("ttyprobe/test1.txt"); }
  void SetPreferences(bool timestamps, bool echo) {
    Preferences preferences = dialog_.CurrentPreferences();
    preferences.timestamps = timestamps;
    preferences.echoSent = echo;
    dialog_.SetPreferences(preferences);
  }
  // Writes at the far end and waits until the window has counted it.
  void Receive(const std::string& bytes) {
    const std::int64_t expected = dialog_.RxCount() + static_cast<std::int64_t>(bytes.size());
    pty_.Write(bytes);
    EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), expected);
  }
  void Send(std::size_t bytes) {
    Click(kManualSendButton);
    EXPECT_EQ(pty_.Read(bytes).size(), bytes);
  }
  // The text of each coloured range of the receive box.
  std::vector<std::string> ColouredTexts() const {
    std::vector<std::string> texts;
    for (const ui::PlainTextView::ColouredRange& range : dialog_.ReceiveBox()->ColouredRanges()) {
      texts.emplace_back(dialog_.ReceiveBox()->Text().Slice(range.from, range.to));
    }
    return texts;
  }
};

bool Matches(const std::string& text, const std::string& pattern) {
  return std::regex_match(text, std::regex(pattern));
}

// The stamps of `text` as times of today, in order.
std::vector<QTime> Stamps(const std::string& text) {
  std::vector<QTime> times;
  const std::regex stamp(R"(\[(\d\d:\d\d:\d\d\.\d\d\d)\] )");
  for (auto match = std::sregex_iterator(text.begin(), text.end(), stamp); match != std::sregex_iterator(); ++match) {
    times.push_back(QTime::fromString(QString::fromStdString((*match)[1].str()), QStringLiteral("HH:mm:ss.zzz")));
  }
  return times;
}

// At the window's first size a stamp and 16 bytes do not fit: lines of 8 do, standing
// under the first byte. A wider window gets lines of 16 from the next block on.
TEST_F(EchoTest, StampedHexLinesFitTheBoxAndStandUnderTheFirstByte) {
  dialog_.show();
  SetPreferences(true, false);
  const ui::PlainTextView& box = *dialog_.ReceiveBox();
  const auto lines = [&] {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < box.Text().LineCount(); ++i) result.emplace_back(box.Text().Line(i));
    return result;
  };
  Receive(std::string(20, '\x11'));
  const std::vector<std::string> narrow = lines();
  ASSERT_EQ(narrow.size(), 3u);
  for (const std::string& line : narrow) EXPECT_LE(static_cast<int>(line.size()), box.VisibleColumns() + 1) << line;
  EXPECT_TRUE(Matches(narrow[0], kStamp + "(11 ){8}"));
  EXPECT_EQ(narrow[1], std::string(15, ' ') + "11 11 11 11 11 11 11 11 ");
  EXPECT_EQ(narrow[2], std::string(15, ' ') + "11 11 11 11 ");

  dialog_.resize(1200, dialog_.height());
  QTest::qWait(300);  // a pause: the next bytes begin a block
  Receive(std::string(20, '\x22'));
  const std::vector<std::string> wide = lines();
  ASSERT_EQ(wide.size(), 6u);
  EXPECT_TRUE(Matches(wide[4], kStamp + "(22 ){8}  (22 ){8}"));
  EXPECT_EQ(wide[5], std::string(15, ' ') + "22 22 22 22 ");
}

TEST_F(EchoTest, HexDisplayStampsBlocksAndEchoesSentFramesApartFromReceivedData) {
  dialog_.show();
  dialog_.resize(1200, dialog_.height());  // room for a stamp and 16 bytes
  dialog_.CheckBox(kCaptureCheck)->click();
  // Off by default: a send shows nothing.
  Send(11);
  EXPECT_EQ(ReceiveText(), "");

  SetPreferences(true, true);
  const QTime before = QTime::currentTime();
  Receive("\x01\x02");
  EXPECT_TRUE(Matches(ReceiveText(), kStamp + "01 02 ")) << ReceiveText();
  Send(11);
  const std::string echo = "0B 03 07 00 34 12 00 00   01 01 00 \r\n";
  EXPECT_TRUE(Matches(ReceiveText(), kStamp + "01 02 \r\n" + kStamp + echo)) << ReceiveText();
  // The reply starts a block of its own after the echo, at once.
  Receive("\x03");
  EXPECT_TRUE(Matches(ReceiveText(), kStamp + "01 02 \r\n" + kStamp + echo + kStamp + "03 ")) << ReceiveText();

  const std::vector<std::string> coloured = ColouredTexts();
  ASSERT_EQ(coloured.size(), 1u);
  EXPECT_TRUE(Matches(coloured[0], kStamp + echo)) << coloured[0];
  // Stamps are the local time of arrival and sending, in order.
  const std::vector<QTime> stamps = Stamps(ReceiveText());
  ASSERT_EQ(stamps.size(), 3u);
  EXPECT_LE(std::abs(before.msecsTo(stamps[0])), 2000);
  EXPECT_LE(stamps[0], stamps[1]);
  EXPECT_LE(stamps[1], stamps[2]);

  // Neither counted nor captured.
  EXPECT_EQ(dialog_.RxCount(), 3);
  EXPECT_EQ(dialog_.Label(kRxLabel)->text(), QStringLiteral("RX:3"));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 22);
  EXPECT_EQ(ReadFile(CaptureFile()), "\x01\x02\x03");
  // "保存接收" writes what the box shows of the received data, without the echo.
  Click(kSaveReceiveButton);
  EXPECT_TRUE(Matches(ReadFile(CaptureFile()), kStamp + "01 02 \r\n" + kStamp + "03 ")) << ReadFile(CaptureFile());

  // A clear takes the colours with the text.
  Click(kClearReceiveButton);
  EXPECT_TRUE(dialog_.ReceiveBox()->ColouredRanges().empty());
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(EchoTest, CharacterDisplayStampsLinesAndEchoesTheSentText) {
  dialog_.CheckBox(kCaptureCheck)->click();
  dialog_.CheckBox(kHexDisplayCheck)->setChecked(false);
  dialog_.CheckBox(kHexSendCheck)->setChecked(false);
  SetPreferences(true, true);
  Receive("boot\r");
  // The LF of a CR LF split across reads begins no line.
  Receive("\nready");
  EXPECT_TRUE(Matches(ReceiveText(), kStamp + "boot\r\n" + kStamp + "ready")) << ReceiveText();
  SetSendText(QStringLiteral("AT"));
  Send(2);
  Receive("OK\r\n");
  EXPECT_TRUE(
      Matches(ReceiveText(), kStamp + "boot\r\n" + kStamp + "ready\r\n" + kStamp + "AT\r\n" + kStamp + "OK\r\n"))
      << ReceiveText();
  const std::vector<std::string> coloured = ColouredTexts();
  ASSERT_EQ(coloured.size(), 1u);
  EXPECT_TRUE(Matches(coloured[0], kStamp + "AT\r\n")) << coloured[0];
  EXPECT_EQ(dialog_.ReceiveBox()->Text().LineCount(), 5u);  // the last one empty

  // Without timestamps the echo is the text alone, still on its own line.
  SetPreferences(false, true);
  Receive("x");
  Send(2);
  EXPECT_TRUE(ReceiveText().ends_with("OK\r\nx\r\nAT\r\n")) << ReceiveText();
  EXPECT_EQ(dialog_.RxCount(), 16);
  EXPECT_EQ(ReadFile(CaptureFile()), "boot\r\nreadyOK\r\nx");
}

// A file goes out in pieces beside the window; each piece is echoed by the window.
TEST_F(EchoTest, EchoesTheFileSent) {
  SetPreferences(false, true);
  dialog_.CheckBox(kHexDisplayCheck)->setChecked(false);
  dialog_.CheckBox(kHexSendCheck)->setChecked(false);
  prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile("frame.txt", "hello\r\n")));
  Click(kSendFileButton);
  Send(7);
  EXPECT_EVENTUALLY_EQ(ReceiveText(), "hello\r\n");
  EXPECT_EQ(ColouredTexts(), std::vector<std::string>{"hello\r\n"});
  EXPECT_EQ(dialog_.RxCount(), 0);
}

// The frame gap set cuts the hex blocks, measured between arrivals as before.
TEST_F(EchoTest, TheFrameGapSetCutsHexBlocks) {
  Preferences preferences = dialog_.CurrentPreferences();
  preferences.frameGapMilliseconds = 1000;
  dialog_.SetPreferences(preferences);
  Receive("A");
  QTest::qWait(300);
  Receive("B");
  EXPECT_EQ(ReceiveText(), "41 42 ");
  preferences.frameGapMilliseconds = 50;
  dialog_.SetPreferences(preferences);
  QTest::qWait(300);
  Receive("C");
  EXPECT_EQ(ReceiveText(), "41 42 \r\n    \r\n43 ");
}

}  // namespace
}  // namespace portprobe
