// The multi-frame send panel over a pseudo-terminal: row sends, runs in order, once or
// in a loop, import and export, and its rows remembered by the next window.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWheelEvent>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "app/send_panel.h"
#include "app/simulator_window_test.h"
#include "checksum/checksum_rows.h"
#include "resources/strings.h"
#include "support/wait.h"

namespace portprobe {

// Rows show in failure messages as a panel file writes them.
void PrintTo(const PanelRow& row, std::ostream* out) { *out << FormatPanelRow(row); }

namespace {

using namespace resources;


const std::string kExamplePanel =
    "# three rows\n"
    "[x] 读保持寄存器 | 0 | 01 03 00 00 00 03 +crc16-modbus\n"
    "[ ] 问候 | 0 | \"AT\\r\\n\"\n"
    "[x] 单字节 | 400 | 7E\n";
const ByteFrame kReadHolding = {0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB};

ByteFrame Bytes(const std::string& text) { return ByteFrame(text.begin(), text.end()); }

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// A frame typed into a row's cell with the keyboard.
void TypeFrame(SendPanel& panel, int row, const QString& text) {
  testing::ShowActive(panel);
  panel.Table()->setFocus();
  panel.Table()->setCurrentCell(row, SendPanel::kFrameColumn);
  testing::PressKey(Qt::Key_F2);
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  testing::TypeText(text);
  testing::PressKey(Qt::Key_Return);
}

// A row's tick switched with the space bar.
void ToggleTick(SendPanel& panel, int row) {
  testing::ShowActive(panel);
  panel.Table()->setFocus();
  panel.Table()->setCurrentCell(row, SendPanel::kTickColumn);
  testing::PressKey(Qt::Key_Space);
}

class SendPanelTest : public testing::ConnectedWindowTest {
 protected:
  SendPanel* OpenPanel() {
    testing::ChooseTool(dialog_, prompter_, tools::kSendPanel);
    return dialog_.SendPanelWindow();
  }
  // Imports a panel file through the file dialog, as the user would.
  void Import(SendPanel& panel, const std::string& text) {
    prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile("import.txt", text)));
    panel.ImportButton()->click();
  }
  // What the device received so far, read while the window runs.
  const ByteFrame& Arrived() {
    const ByteFrame more = testing::ReadBytes(pty_.MasterFd(), 4096, 0);
    arrived_.insert(arrived_.end(), more.begin(), more.end());
    return arrived_;
  }
  bool ArrivedAtLeast(std::size_t count) {
    return testing::WaitUntil([&] { return Arrived().size() >= count; });
  }
  // Nothing more reaches the device while the window runs a while.
  bool NothingMoreArrives() {
    const std::size_t before = Arrived().size();
    return !testing::WaitUntil([&] { return Arrived().size() > before; }, 400);
  }
  ByteFrame arrived_;
};

TEST_F(SendPanelTest, ARowsButtonSendsItsFrameWithItsChecksumCountedAndEchoed) {
  Preferences preferences = dialog_.CurrentPreferences();
  preferences.echoSent = true;
  dialog_.SetPreferences(preferences);
  SendPanel* panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_GE(panel->Table()->rowCount(), 50);
  Import(*panel, kExamplePanel);
  EXPECT_TRUE(prompter_.messages.isEmpty()) << prompter_.messages.join(QStringLiteral("|")).toStdString();
  EXPECT_EQ(panel->Table()->item(0, SendPanel::kNameColumn)->text(), QStringLiteral("读保持寄存器"));
  EXPECT_EQ(panel->Table()->item(0, SendPanel::kFrameColumn)->toolTip(), QStringLiteral("01 03 00 00 00 03 05 CB"));

  panel->RowSendButton(0)->click();
  EXPECT_EQ(pty_.Read(8), kReadHolding);
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 8);
  EXPECT_NE(dialog_.ReceiveText().find("01 03 00 00 00 03 05 CB"), std::string_view::npos);
  panel->RowSendButton(1)->click();  // not ticked, but its own button sends it
  EXPECT_EQ(pty_.Read(4), Bytes("AT\r\n"));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 12);

  // A bad frame is marked, says why and is not sent.
  TypeFrame(*panel, 3, QStringLiteral("01 0G"));
  QTableWidgetItem* bad = panel->Table()->item(3, SendPanel::kFrameColumn);
  EXPECT_EQ(bad->text(), QStringLiteral("01 0G"));
  EXPECT_EQ(bad->toolTip(), QStringLiteral("不是十六进制字节：\"0G\""));
  panel->RowSendButton(3)->click();
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("第4行的帧有误，未发送：不是十六进制字节：\"0G\"")});

  // A closed port gets the main send's message.
  Click(kOpenButton);
  panel->RowSendButton(0)->click();
  EXPECT_EQ(prompter_.messages.size(), 2);
  EXPECT_EQ(prompter_.messages.back(), QString::fromUtf8(kPortNotOpenText));
  EXPECT_EQ(dialog_.TxCount(), 12);

  // The menu entry shows it open, and closes it.
  testing::ChooseTool(dialog_, prompter_, tools::kSendPanel);
  EXPECT_TRUE(prompter_.tickedEntries.back().contains(QStringLiteral("多条发送")));
  EXPECT_FALSE(panel->isVisible());
}

TEST_F(SendPanelTest, ARunSendsTheTickedRowsInOrderWithTheirDelaysRoundAndRoundUntilStopped) {
  SendPanel* panel = OpenPanel();
  Import(*panel, kExamplePanel);
  EXPECT_TRUE(panel->LoopCheck()->isChecked());
  QElapsedTimer clock;
  clock.start();
  panel->RunButton()->click();
  EXPECT_EQ(panel->RunButton()->text(), QStringLiteral("停止"));
  ASSERT_TRUE(ArrivedAtLeast(8));
  const qint64 firstArrived = clock.elapsed();
  ASSERT_TRUE(ArrivedAtLeast(9));
  // The second row waits the first row's delay (none); the third comes round after 400 ms.
  ASSERT_TRUE(ArrivedAtLeast(9 + 9 + 8));
  EXPECT_GE(clock.elapsed() - firstArrived, 100);
  ByteFrame expected;
  for (int pass = 0; pass < 3; ++pass) {
    expected.insert(expected.end(), kReadHolding.begin(), kReadHolding.end());
    expected.push_back(0x7E);
  }
  EXPECT_EQ(ByteFrame(arrived_.begin(), arrived_.begin() + 26), ByteFrame(expected.begin(), expected.begin() + 26));

  panel->RunButton()->click();
  EXPECT_FALSE(panel->Running());
  EXPECT_EQ(panel->RunButton()->text(), QStringLiteral("循环发送"));
  EXPECT_TRUE(NothingMoreArrives());
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), static_cast<std::int64_t>(arrived_.size()));

  // Closing the port ends a run, as does closing the panel, but not minimising it.
  panel->RunButton()->click();
  ASSERT_TRUE(panel->Running());
  Click(kOpenButton);
  EXPECT_FALSE(panel->Running());
  Click(kOpenButton);
  ASSERT_TRUE(dialog_.IsOpen());
  panel->RunButton()->click();
  ASSERT_TRUE(panel->Running());
  panel->showMinimized();  // hidden by the window system, not closed: the run goes on
  QCoreApplication::processEvents();
  EXPECT_TRUE(panel->Running());
  panel->showNormal();
  panel->close();
  EXPECT_FALSE(panel->Running());
  // Only the close may have said that it dropped a frame under way.
  for (const QString& message : prompter_.messages) {
    EXPECT_TRUE(message.startsWith(QStringLiteral("串口已关闭，"))) << message.toStdString();
  }
}

TEST_F(SendPanelTest, ARunOnceEndsAfterTheLastTickedRowAndPassesOverABadRowSayingSoOnce) {
  SendPanel* panel = OpenPanel();
  Import(*panel, kExamplePanel);
  TypeFrame(*panel, 4, QStringLiteral("zz"));
  ToggleTick(*panel, 4);
  ASSERT_EQ(panel->Table()->item(4, SendPanel::kTickColumn)->checkState(), Qt::Checked);
  panel->LoopCheck()->click();
  ASSERT_FALSE(panel->Looping());

  panel->RunButton()->click();
  ASSERT_TRUE(ArrivedAtLeast(9));
  EXPECT_TRUE(testing::WaitUntil([&] { return !panel->Running(); }));
  EXPECT_EQ(panel->RunButton()->text(), QStringLiteral("循环发送"));
  EXPECT_TRUE(NothingMoreArrives());
  ByteFrame expected = kReadHolding;
  expected.push_back(0x7E);
  EXPECT_EQ(arrived_, expected);
  EXPECT_EQ(panel->StatusLabel()->text(), QStringLiteral("第5行的帧有误，已跳过：不是十六进制字节：\"zz\""));

  // With the port closed a run says what the main send says and ends.
  Click(kOpenButton);
  panel->RunButton()->click();
  EXPECT_FALSE(panel->Running());
  EXPECT_EQ(prompter_.messages, QStringList{QString::fromUtf8(kPortNotOpenText)});

  // Nothing ticked: the run says so and ends.
  Click(kOpenButton);
  Import(*panel, "[ ] a | 0 | 01\n");
  panel->RunButton()->click();
  EXPECT_FALSE(panel->Running());
  EXPECT_EQ(panel->StatusLabel()->text(), QStringLiteral("没有可发送的勾选行"));
}

TEST_F(SendPanelTest, TheWheelOverARowsListScrollsTheTableAndChangesNoRow) {
  SendPanel* panel = OpenPanel();
  Import(*panel, kExamplePanel);
  testing::ShowActive(*panel);
  QScrollBar* scroll = panel->Table()->verticalScrollBar();
  ASSERT_EQ(scroll->value(), 0);
  for (QWidget* field : {panel->Table()->cellWidget(0, SendPanel::kChecksumColumn),
                         panel->Table()->cellWidget(2, SendPanel::kDelayColumn)}) {
    const QPoint centre = field->rect().center();
    QWheelEvent wheel(centre, field->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(field, &wheel);
  }
  EXPECT_GT(scroll->value(), 0);
  EXPECT_EQ(panel->Rows()[0].checksumRow, BuiltInChecksumNamed("crc16-modbus"));
  EXPECT_EQ(panel->Rows()[2].delayMilliseconds, 400);
}

TEST_F(SendPanelTest, ImportAndExportGoThroughTheFileDialogsAndAFailedImportChangesNothing) {
  SendPanel* panel = OpenPanel();
  Import(*panel, kExamplePanel);
  const std::vector<PanelRow> imported = panel->Rows();

  prompter_.saveAnswers.push_back(QString::fromStdString(folder_.File("saved.txt")));
  panel->ExportButton()->click();
  const std::string saved = ReadFile(folder_.File("saved.txt"));
  EXPECT_NE(saved.find("[x] 读保持寄存器 | 0 | 01 03 00 00 00 03 +crc16-modbus\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("[ ] 问候 | 0 | \"AT\\r\\n\"\n"), std::string::npos) << saved;
  EXPECT_EQ(prompter_.saveRequests.back().defaultExtension, QStringLiteral("txt"));

  Import(*panel, "[x] good | 0 | 01\n[x] bad | 0 | 01 +nosuch\n# fine\n[x] | x | 01\n");
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_TRUE(prompter_.messages[0].contains(QStringLiteral("第2行: 未知的校验：\"nosuch\"")))
      << prompter_.messages[0].toStdString();
  EXPECT_TRUE(prompter_.messages[0].contains(QStringLiteral("第4行: ")));
  EXPECT_EQ(panel->Rows(), imported);

  prompter_.openAnswers.push_back(QString::fromStdString(folder_.File("missing.txt")));
  panel->ImportButton()->click();
  EXPECT_EQ(prompter_.messages.size(), 2);
  prompter_.saveAnswers.push_back(QString::fromStdString(folder_.File("no/such/folder/panel.txt")));
  panel->ExportButton()->click();
  EXPECT_EQ(prompter_.messages.size(), 3);
  EXPECT_EQ(panel->Rows(), imported);

  // The export reads back as the same rows.
  prompter_.openAnswers.push_back(QString::fromStdString(folder_.File("saved.txt")));
  panel->ImportButton()->click();
  EXPECT_EQ(prompter_.messages.size(), 3);
  EXPECT_EQ(panel->Rows(), imported);
}

TEST_F(SendPanelTest, ARunIntoADeviceThatTakesNothingWaitsInsteadOfPilingFramesUp) {
  SendPanel* panel = OpenPanel();
  Import(*panel, "[x] big | 0 | \"" + std::string(64 * 1024, 'x') + "\"\n");
  panel->RunButton()->click();
  EXPECT_TRUE(testing::WaitUntil(
      [&] { return dialog_.Label(kStatusLabel)->text().endsWith(QStringLiteral(" 发送阻塞")); }, 10000));
  EXPECT_TRUE(panel->Running());
  // The run waits for its frame to be written: closing drops no more than that frame.
  Click(kOpenButton);
  EXPECT_FALSE(panel->Running());
  ASSERT_EQ(prompter_.messages.size(), 1);
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("^串口已关闭，(\\d+)字节尚未发出，已丢弃。$")).match(prompter_.messages[0]);
  ASSERT_TRUE(match.hasMatch()) << prompter_.messages[0].toStdString();
  EXPECT_LE(match.captured(1).toULongLong(), 64u * 1024);
}

// Windows that remember their settings in a file of the test's own.
class RememberedPanel : public ::testing::Test {
 protected:
  std::unique_ptr<MainDialog> NewWindow() {
    TerminalOptions options = testing::PortsFirst({pty_.SlavePath()});
    options.settingsFile = config_.File("portprobe.ini");
    return std::make_unique<MainDialog>(prompter_, options);
  }

  testing::PtyPair pty_;
  testing::TempDir config_;
  testing::TempDir state_;
  testing::ScopedEnvironment stateHome_{"XDG_STATE_HOME", state_.Path().string()};
  testing::ScriptedPrompter prompter_;
};

TEST_F(RememberedPanel, TheRowsTheLoopSwitchAndTheOpenPanelComeBackInTheNextWindow) {
  std::vector<PanelRow> rows;
  {
    std::unique_ptr<MainDialog> window = NewWindow();
    testing::ChooseTool(*window, prompter_, tools::kSendPanel);
    SendPanel* panel = window->SendPanelWindow();
    ASSERT_NE(panel, nullptr);
    prompter_.openAnswers.push_back(QString::fromStdString(config_.WriteFile("rows.txt", kExamplePanel)));
    panel->ImportButton()->click();
    TypeFrame(*panel, 6, QStringLiteral("\"unfinished\\"));
    panel->LoopCheck()->click();
    // The place is written once it changes, as the main window's is, not only at the end.
    const auto storedPlace = [&] {
      return QSettings(QString::fromStdString(config_.File("portprobe.ini")), QSettings::IniFormat)
          .value(QStringLiteral("panel/geometry"));
    };
    EXPECT_TRUE(testing::WaitUntil([&] { return storedPlace().isValid(); }));
    const QVariant before = storedPlace();
    panel->move(20, 30);
    EXPECT_TRUE(testing::WaitUntil([&] { return storedPlace() != before; }));
    rows = panel->Rows();
  }
  {
    std::unique_ptr<MainDialog> window = NewWindow();
    SendPanel* panel = window->SendPanelWindow();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Rows(), rows);
    EXPECT_FALSE(panel->Looping());
    EXPECT_TRUE(testing::WaitUntil([&] { return panel->isVisible(); }));
    EXPECT_EQ(panel->pos(), QPoint(20, 30));
    panel->close();
  }
  EXPECT_EQ(QSettings(QString::fromStdString(config_.File("portprobe.ini")), QSettings::IniFormat)
                .value(QStringLiteral("panel/open"))
                .toString(),
            QStringLiteral("false"));
  std::unique_ptr<MainDialog> window = NewWindow();
  ASSERT_NE(window->SendPanelWindow(), nullptr);
  QCoreApplication::processEvents();  // where a remembered open panel would be shown
  EXPECT_FALSE(window->SendPanelWindow()->isVisible());
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

// The example panel once through against the simulator answering by the example rules:
// three requests, each with its own reply.
class SendPanelWithSimulator : public testing::SimulatorWindowTest {
 protected:
  SendPanelWithSimulator() : SimulatorWindowTest({"--rules", PORTPROBE_EXAMPLES_DIR "/modbus_rules.txt"}) {}
};

TEST_F(SendPanelWithSimulator, TheExamplePanelGetsAReplyToEachRequest) {
  ASSERT_TRUE(window_.IsOpen());
  testing::ChooseTool(window_, prompter_, tools::kSendPanel);
  SendPanel* panel = window_.SendPanelWindow();
  prompter_.openAnswers.push_back(QStringLiteral(PORTPROBE_EXAMPLES_DIR "/panel.txt"));
  panel->ImportButton()->click();
  panel->LoopCheck()->click();
  panel->RunButton()->click();
  EXPECT_TRUE(testing::WaitUntil([&] { return !panel->Running(); }));
  EXPECT_EVENTUALLY_EQ(window_.TxCount(), 3 * 8);
  EXPECT_EVENTUALLY_EQ(window_.RxCount(), 11 + 7 + 7);
  // Each reply in its own block, in the order of the requests.
  const std::string_view box = window_.ReceiveText();
  const std::size_t first = box.find("01 03 06 00 EA 01 90 00   01 F8 B3");
  const std::size_t second = box.find("01 04 02 01 2C");
  const std::size_t third = box.find("02 03 02 12 34");
  EXPECT_TRUE(first < second && second < third && third != std::string_view::npos) << box;
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

}  // namespace
}  // namespace portprobe
