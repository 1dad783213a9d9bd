// Live decoding in the window: a loaded parser chosen in the tools menu decodes every
// received block beside the window, and its output follows the block in the receive box.
#include <QComboBox>
#include <QLabel>
#include <QSettings>
#include <gtest/gtest.h>

#include <memory>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "app/send_panel.h"
#include "app/simulator_window_test.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

constexpr int kModbusRow = 7;
const QString kLiveDecodeMenu = QStringLiteral("实时解析");

// Prints the address and length bytes; errs when the first byte is EF and never ends
// when it is EE.
const std::string kDecoder =
    "int addr;\r\nint len;\r\nvoid main()\r\n{\r\nset addr 0 1\r\nset len 2 1\r\n"
    "while addr == 0xEE\r\n{\r\n}\r\nif addr == 0xEF\r\nnosuch addr\r\n"
    "echo 'addr=' addr ' len=' len '\\r\\n'\r\n}\r\n";
const std::string kStepLimitNote = "<实时解析：本帧执行超过200000行，已停止；以后超限的帧不再提示>\r\n";

std::string Box(const MainDialog& window) { return window.ControlText(kReceiveBox).toStdString(); }
QString Status(const MainDialog& window) { return window.Label(kStatusLabel)->text(); }

class LiveDecodeTest : public testing::ConnectedWindowTest {
 protected:
  void ChooseTool(int id) { testing::ChooseTool(dialog_, prompter_, id); }
  void Load(const std::string& name, const std::string& script) {
    prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile(name, script)));
    ChooseTool(tools::kLoadParser);
  }
  // Writes a block at the far end and waits until the receive box holds `box`.
  void ReceiveBlock(const std::vector<std::uint8_t>& bytes, const std::string& box) {
    pty_.Write(bytes);
    EXPECT_EVENTUALLY_EQ(Box(dialog_), box);
  }
};

TEST_F(LiveDecodeTest, TheChosenParserDecodesEveryBlockUnderItUntilSwitchedOff) {
  Load("first.txt", "void main()\r\n{\r\necho 'first'\r\n}\r\n");
  Load("decoder.txt", kDecoder);
  ChooseTool(-1);
  EXPECT_EQ(prompter_.submenus[kLiveDecodeMenu],
            (QStringList{QStringLiteral("关闭"),
                         QStringLiteral("解析器1:") + QString::fromStdString(folder_.File("first.txt")),
                         QStringLiteral("解析器2:") + QString::fromStdString(folder_.File("decoder.txt"))}));
  EXPECT_EQ(prompter_.tickedSubmenuEntries[kLiveDecodeMenu], QStringList{QStringLiteral("关闭")});

  ChooseTool(tools::kFirstLiveDecoder + 1);
  EXPECT_TRUE(Status(dialog_).endsWith(QStringLiteral(" 实时解析"))) << Status(dialog_).toStdString();
  ChooseTool(-1);
  EXPECT_EQ(prompter_.tickedSubmenuEntries[kLiveDecodeMenu],
            QStringList{QStringLiteral("解析器2:") + QString::fromStdString(folder_.File("decoder.txt"))});

  // Each block's output stands on lines of its own under it, as the parser prints it;
  // the next block starts on a line of its own.
  ReceiveBlock({0x01, 0x03, 0x06}, "01 03 06 \r\naddr=1 len=6\r\n");
  ReceiveBlock({0x02, 0x04, 0x07, 0x08}, "01 03 06 \r\naddr=1 len=6\r\n02 04 07 08 \r\naddr=2 len=7\r\n");

  const std::string decoded = Box(dialog_);

  // The parser loaded again goes on with its new text.
  Load("decoder.txt", "void main()\r\n{\r\necho 'again'\r\n}\r\n");
  ReceiveBlock({0x03}, decoded + "03 \r\nagain\r\n");

  // Choosing another parser replaces the decoder; "关闭" ends decoding.
  ChooseTool(tools::kFirstLiveDecoder);
  ReceiveBlock({0x05}, decoded + "03 \r\nagain\r\n05 \r\nfirst\r\n");
  ChooseTool(tools::kLiveDecodeOff);
  EXPECT_FALSE(Status(dialog_).contains(QStringLiteral("实时解析")));
  pty_.Write(std::vector<std::uint8_t>{0x06});
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 10);
  QTest::qWait(3 * dialog_.CurrentPreferences().frameGapMilliseconds);
  EXPECT_EQ(Box(dialog_), decoded + "03 \r\nagain\r\n05 \r\nfirst\r\n06 ");
}

TEST_F(LiveDecodeTest, AParserThatErrsOrNeverEndsDoesNotStopTheNextBlock) {
  Load("decoder.txt", kDecoder);
  ChooseTool(tools::kFirstLiveDecoder);
  pty_.Write(std::vector<std::uint8_t>{0xEE, 0x00, 0x01});
  EXPECT_EVENTUALLY_EQ(Box(dialog_), "EE 00 01 \r\n" + kStepLimitNote);
  ReceiveBlock({0x01, 0x03, 0x06}, "EE 00 01 \r\n" + kStepLimitNote + "01 03 06 \r\naddr=1 len=6\r\n");

  pty_.Write(std::vector<std::uint8_t>{0xEF, 0x00, 0x02});
  EXPECT_TRUE(testing::WaitUntil([&] { return Box(dialog_).ends_with(">\r\n"); }));
  const std::string box = Box(dialog_);
  EXPECT_NE(box.find("EF 00 02 \r\n<Parser Error: "), std::string::npos) << box;
  ReceiveBlock({0x07, 0x00, 0x09}, box + "07 00 09 \r\naddr=7 len=9\r\n");

  // Endless again: cut short without a second note, and the window keeps decoding.
  ReceiveBlock({0xEE}, box + "07 00 09 \r\naddr=7 len=9\r\nEE ");
  QTest::qWait(3 * dialog_.CurrentPreferences().frameGapMilliseconds);
  ReceiveBlock({0x08, 0x00, 0x0A}, box + "07 00 09 \r\naddr=7 len=9\r\nEE \r\n    \r\n08 00 0A \r\naddr=8 len=10\r\n");
}

// A send ends the block under way. Its decoding comes after the echo of the frame sent,
// so it is shown under a line that names the block, never as if it decoded the echo or
// the reply after it; the echo itself is never decoded.
TEST_F(LiveDecodeTest, ADecodingThatOtherTextPrecedesNamesItsBlock) {
  // Counts to 50000 before it prints, so that its output cannot come before the echo
  // that the same send shows at once.
  Load("decoder.txt",
       "int addr;\r\nint len;\r\nint i;\r\nvoid main()\r\n{\r\nset addr 0 1\r\nset len 2 1\r\ni = 0\r\n"
       "while i < 50000\r\n{\r\ni = i + 1\r\n}\r\necho 'addr=' addr ' len=' len '\\r\\n'\r\n}\r\n");
  ChooseTool(tools::kFirstLiveDecoder);
  // A long gap: only the send can end the block before the user's frame goes out.
  Preferences echo = dialog_.CurrentPreferences();
  echo.echoSent = true;
  echo.frameGapMilliseconds = 2000;
  dialog_.SetPreferences(echo);
  pty_.Write(std::vector<std::uint8_t>{0x01, 0x03, 0x06});
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 3);
  SetSendText(QStringLiteral("05 06"));
  Click(kManualSendButton);
  EXPECT_TRUE(testing::WaitUntil([&] { return Box(dialog_).ends_with("addr=1 len=6\r\n"); })) << Box(dialog_);
  const std::string box = Box(dialog_);
  ASSERT_TRUE(box.starts_with("01 03 06 \r\n05 06 \r\n<实时解析：")) << box;
  EXPECT_TRUE(box.ends_with(" 收到的帧>\r\naddr=1 len=6\r\n")) << box;

  // The reply is decoded right under it.
  ReceiveBlock({0x02, 0x04, 0x07}, box + "02 04 07 \r\naddr=2 len=7\r\n");
  QTest::qWait(300);
  EXPECT_EQ(Box(dialog_), box + "02 04 07 \r\naddr=2 len=7\r\n");

  // A block whose bytes were cleared away is named too.
  pty_.Write(std::vector<std::uint8_t>{0x03, 0x05, 0x08});
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 9);
  Click(kClearReceiveButton);
  EXPECT_TRUE(testing::WaitUntil([&] { return Box(dialog_).ends_with("addr=3 len=8\r\n"); })) << Box(dialog_);
  EXPECT_TRUE(Box(dialog_).starts_with("<实时解析：")) << Box(dialog_);
}

// The menu run of the same parser keeps its banners while the live decoder runs.
TEST_F(LiveDecodeTest, TheMenuRunStaysAsItWas) {
  Load("decoder.txt", kDecoder);
  ChooseTool(tools::kFirstLiveDecoder);
  ReceiveBlock({0x01, 0x03, 0x06}, "01 03 06 \r\naddr=1 len=6\r\n");
  dialog_.ReceiveBox()->SetSelection(0, 9);
  ChooseTool(tools::kFirstParser);
  EXPECT_EQ(Box(dialog_),
            "01 03 06 \r\naddr=1 len=6\r\n\r\n---Start Parser--------\r\n\r\ngi_globalVarCnt:0x2 2\r\naddr=1 len=6\r\n"
            "\r\n---Exit Parser  unfreeptr=0--------\r\n");
}

// Windows that remember their settings in a config folder of the test's own.
class RememberedLiveDecoder : public ::testing::Test {
 protected:
  RememberedLiveDecoder() { std::filesystem::create_directories(config_.Path() / "portprobe"); }

  std::unique_ptr<MainDialog> NewWindow() {
    TerminalOptions options = testing::PortsFirst({pty_.SlavePath()});
    options.settingsFile = config_.File("portprobe/portprobe.ini");
    return std::make_unique<MainDialog>(prompter_, options);
  }
  QVariant Stored() const {
    return QSettings(QString::fromStdString(config_.File("portprobe/portprobe.ini")), QSettings::IniFormat)
        .value(QStringLiteral("decoder/parser"));
  }

  testing::PtyPair pty_;
  testing::TempDir config_;
  testing::TempDir state_;
  testing::ScopedEnvironment stateHome_{"XDG_STATE_HOME", state_.Path().string()};
  testing::ScriptedPrompter prompter_;
};

TEST_F(RememberedLiveDecoder, TheChosenParserIsChosenAgainWhileItIsLoaded) {
  const std::string script = state_.WriteFile("decoder.txt", kDecoder);
  {
    std::unique_ptr<MainDialog> window = NewWindow();
    prompter_.openAnswers.push_back(QString::fromStdString(script));
    testing::ChooseTool(*window, prompter_, tools::kLoadParser);
    testing::ChooseTool(*window, prompter_, tools::kFirstLiveDecoder);
  }
  EXPECT_EQ(Stored().toByteArray().toStdString(), script);
  {
    std::unique_ptr<MainDialog> window = NewWindow();
    EXPECT_TRUE(Status(*window).endsWith(QStringLiteral(" 实时解析")));
    pty_.Write(std::vector<std::uint8_t>{0x01, 0x03, 0x06});
    EXPECT_EVENTUALLY_EQ(Box(*window), "01 03 06 \r\naddr=1 len=6\r\n");
    testing::ChooseTool(*window, prompter_, tools::kLiveDecodeOff);
  }
  EXPECT_EQ(Stored().toByteArray(), QByteArray());
  {
    std::unique_ptr<MainDialog> window = NewWindow();
    EXPECT_FALSE(Status(*window).contains(QStringLiteral("实时解析")));
    testing::ChooseTool(*window, prompter_, tools::kFirstLiveDecoder);
  }
  // A parser that is no longer in the list is not chosen again, and nothing is written.
  std::filesystem::remove(state_.Path() / "portprobe" / "parsers.txt");
  {
    std::unique_ptr<MainDialog> window = NewWindow();
    EXPECT_FALSE(Status(*window).contains(QStringLiteral("实时解析")));
  }
  EXPECT_EQ(Stored().toByteArray().toStdString(), script);
}

// A window on the simulator's device that decodes live with a loaded parser and checks
// every block's CRC-16/MODBUS; its panel polls with the frames that `panelFile` holds.
class SimulatorDecodeTest : public testing::SimulatorWindowTest {
 protected:
  using SimulatorWindowTest::SimulatorWindowTest;
  void DecodeLiveAndCheck(const QString& parser) {
    prompter_.openAnswers.push_back(parser);
    testing::ChooseTool(window_, prompter_, tools::kLoadParser);
    testing::ChooseTool(window_, prompter_, tools::kFirstLiveDecoder);
    window_.ComboBox(kChecksumList)->setCurrentIndex(kModbusRow);
    testing::ChooseTool(window_, prompter_, tools::kReceiveCheck);
  }
  SendPanel* ImportPanel(const std::string& panelFile) {
    testing::ChooseTool(window_, prompter_, tools::kSendPanel);
    prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile("panel.txt", panelFile)));
    window_.SendPanelWindow()->ImportButton()->click();
    return window_.SendPanelWindow();
  }
  testing::TempDir folder_;
};

// The example parser decodes the simulator's reply to a frame sent from the window;
// the receive check's mark stays with the block, before the decoder's output.
using LiveDecodeWithSimulator = SimulatorDecodeTest;

TEST_F(LiveDecodeWithSimulator, TheExampleParserDecodesTheReplyUnderIt) {
  ASSERT_TRUE(window_.IsOpen());
  DecodeLiveAndCheck(QStringLiteral(PORTPROBE_EXAMPLES_DIR "/modbus_rtu.txt"));

  window_.SendBox()->SetText("01 03 00 00 00 03");
  window_.Button(kManualSendButton)->click();
  EXPECT_EVENTUALLY_EQ(Box(window_),
                       "01 03 06 00 EA 01 90 00   01 F8 B3 \u2713\r\n"
                       "Modbus-RTU reply: device 1, function 3, 6 data bytes\r\n"
                       "  register 0: 234\r\n  register 1: 400\r\n  register 2: 1\r\n"
                       "crc:0xb3f8 CRC-16/MODBUS OK\r\n");
  EXPECT_TRUE(Status(window_).contains(QStringLiteral(" \u27131 \u27170"))) << Status(window_).toStdString();
}

// A panel polls every 50 ms with the frame gap at 100 ms, so the line is never silent
// for a gap: every send ends the reply before it, which gets one mark and one decoding.
TEST_F(LiveDecodeWithSimulator, APollFasterThanTheGapGetsOneCheckAndOneDecodingPerReply) {
  ASSERT_TRUE(window_.IsOpen());
  DecodeLiveAndCheck(QStringLiteral(PORTPROBE_EXAMPLES_DIR "/modbus_rtu.txt"));
  SendPanel* panel = ImportPanel("[x] poll | 50 | 01 03 00 00 00 03 +crc16-modbus\n");
  panel->RunButton()->click();
  ASSERT_TRUE(panel->Running());
  QTest::qWait(1000);
  panel->RunButton()->click();
  ASSERT_FALSE(panel->Running());
  QTest::qWait(500);

  const std::string box(window_.ReceiveText());
  const auto count = [&box](std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = box.find(what); at != std::string::npos; at = box.find(what, at + 1)) ++n;
    return n;
  };
  const std::size_t replies = static_cast<std::size_t>(window_.RxCount()) / 11;
  EXPECT_GE(replies, 5u);
  EXPECT_EQ(count("01 03 06 00 EA 01 90 00   01 F8 B3 \u2713"), replies) << box;
  EXPECT_EQ(count("Modbus-RTU reply: device 1"), replies) << box;
  EXPECT_EQ(count("CRC-16/MODBUS OK"), replies) << box;
  EXPECT_EQ(count("\u2717"), 0u) << box;
}

// Polled with no delay, the echo device's blocks come faster than a slow script decodes
// them: every block that ends is either decoded or counted in a note of skipped blocks.
class LiveDecodeWithEchoDevice : public SimulatorDecodeTest {
 protected:
  LiveDecodeWithEchoDevice() : SimulatorDecodeTest({"--role", "echo"}) {}
};

TEST_F(LiveDecodeWithEchoDevice, EveryBlockIsDecodedOrSaidToBeSkipped) {
  ASSERT_TRUE(window_.IsOpen());
  const std::string slow =
      "int i\r\nvoid main()\r\n{\r\ni = 0\r\nwhile i < 20000\r\n{\r\ni = i + 1\r\n}\r\n"
      "echo \"decoded\\r\\n\"\r\n}\r\n";
  DecodeLiveAndCheck(QString::fromStdString(folder_.WriteFile("slow.txt", slow)));
  SendPanel* panel = ImportPanel("[x] poll | 0 | 01 03 00 00 00 03 +crc16-modbus\n");
  panel->RunButton()->click();
  QTest::qWait(1500);
  panel->RunButton()->click();

  // Blocks end at every send and are marked; the decoder catches up once the loop stops.
  const auto settled = [this](std::size_t& blocks, std::size_t& accounted) {
    const std::string box(window_.ReceiveText());
    blocks = accounted = 0;
    for (std::size_t at = 0; (at = box.find("\xE2\x9C", at)) != std::string::npos; at += 3) ++blocks;
    for (std::size_t at = 0; (at = box.find("decoded", at)) != std::string::npos; ++at) ++accounted;
    const std::string skipped = "跳过了";
    for (std::size_t at = 0; (at = box.find(skipped, at)) != std::string::npos;) {
      at += skipped.size();
      accounted += std::stoul(box.substr(at));
    }
    return blocks > 0 && blocks == accounted;
  };
  std::size_t blocks = 0;
  std::size_t accounted = 0;
  EXPECT_TRUE(testing::WaitUntil([&] { return settled(blocks, accounted); }, 20000))
      << blocks << " blocks, " << accounted << " decoded or skipped";
  EXPECT_GT(blocks, 10u);
}

}  // namespace
}  // namespace portprobe
