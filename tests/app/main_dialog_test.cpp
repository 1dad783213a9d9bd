#include "app/main_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "app/dialog_test_support.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "support/pty_pair.h"
#include "support/scripted_prompter.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::Choose;
using testing::PortsFirst;
using testing::PtyPair;
using testing::ScriptedPrompter;

QString StatusText(const MainDialog& dialog) { return dialog.Label(kStatusLabel)->text(); }

TEST(MainDialog, BuildsEveryControlOfItsTemplate) {
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({}));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("PortProbe V5.0"));
  for (const ui::ControlTemplate& control : MainDialogTemplate().controls) {
    if (control.id == ui::kNoControlId) continue;
    QWidget* widget = dialog.Control(control.id);
    ASSERT_NE(widget, nullptr) << control.id;
    if (control.kind != ui::ControlKind::ComboBox) {
      EXPECT_EQ(widget->geometry(), dialog.Units().ToPixels(control.rect)) << control.id;
    }
  }
  EXPECT_EQ(dialog.Button(kManualSendButton)->text(), QStringLiteral("手动发送&S"));
  EXPECT_EQ(dialog.Button(kMenuButton)->text(), QStringLiteral("&Menu"));
  EXPECT_EQ(dialog.CheckBox(kAutoSendCheck)->text(), QStringLiteral("自动发送"));
  EXPECT_EQ(dialog.Label(kMillisecondsLabel)->text(), QStringLiteral("毫秒"));
  // Texts set by the start-up sequence.
  EXPECT_EQ(dialog.Edit(kPeriodEdit)->text(), QStringLiteral("1000"));
  EXPECT_EQ(dialog.Label(kCaptureLabel)->text(), QStringLiteral("未指定写入文件"));
  EXPECT_EQ(dialog.Label(kSendFileLabel)->text(), QStringLiteral("未指定发送文件"));
  EXPECT_EQ(dialog.ControlText(kSendBox), QStringLiteral("0b 03 07 00 34 12 00 00 01 01 00"));
  EXPECT_EQ(dialog.ControlText(kReceiveBox), QStringLiteral("Receiving Area"));
  EXPECT_TRUE(dialog.CheckBox(kHexSendCheck)->isChecked());
  EXPECT_TRUE(dialog.CheckBox(kHexDisplayCheck)->isChecked());
  EXPECT_FALSE(dialog.CheckBox(kAutoSendCheck)->isChecked());
  EXPECT_TRUE(dialog.StartupDone());

  QComboBox* checksums = dialog.ComboBox(kChecksumList);
  ASSERT_EQ(checksums->count(), 15);
  EXPECT_EQ(checksums->itemText(2), QStringLiteral("CRC16 Little-endian"));
  EXPECT_EQ(checksums->itemText(7), QStringLiteral("CRC16 Modbus"));
  EXPECT_EQ(checksums->currentIndex(), 0);
  EXPECT_EQ(dialog.ComboBox(kBaudList)->currentText(), QStringLiteral("9600"));
  // The fast rates follow the original rows, which keep their places.
  ASSERT_EQ(dialog.ComboBox(kBaudList)->count(), 19);
  EXPECT_EQ(dialog.ComboBox(kBaudList)->itemText(11), QStringLiteral("115200"));
  EXPECT_EQ(dialog.ComboBox(kBaudList)->itemText(12), QStringLiteral("230400"));
  EXPECT_EQ(dialog.ComboBox(kBaudList)->itemText(18), QStringLiteral("3000000"));
  EXPECT_EQ(dialog.ComboBox(kParityList)->itemText(2), QStringLiteral("偶Even"));
  QComboBox* ports = dialog.ComboBox(kPortList);
  ASSERT_EQ(ports->count(), 129);
  EXPECT_EQ(ports->itemText(0), QStringLiteral("---------"));
  EXPECT_EQ(ports->itemText(1), QStringLiteral("COM1"));
  EXPECT_EQ(ports->itemText(128), QStringLiteral("COM128"));

  // Tab order follows the template: the open button first, then the port list.
  EXPECT_EQ(dialog.Button(kOpenButton)->nextInFocusChain(), dialog.ComboBox(kPortList));
}

// With no port given, remembered or plugged in, nothing is opened unasked: not the
// separator row, not COM1.
TEST(MainDialog, OpensNothingUnaskedWhenNoPortIsThere) {
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({}));
  EXPECT_EQ(prompter.messages, QStringList());
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("打开"));
  EXPECT_EQ(StatusText(dialog), QStringLiteral("未找到串口设备"));
  EXPECT_EQ(dialog.ComboBox(kPortList)->currentText(), QStringLiteral("COM1"));
  EXPECT_EQ(dialog.Label(kTxLabel)->text(), QStringLiteral("TX:0"));
  EXPECT_EQ(dialog.Label(kRxLabel)->text(), QStringLiteral("RX:0"));
  Choose(dialog.ComboBox(kParityList), 2);
  EXPECT_EQ(StatusText(dialog), QStringLiteral("未找到串口设备"));
}

TEST(MainDialog, OpensThePortGivenFirstAndCountsWhatArrives) {
  PtyPair pty;
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({pty.SlavePath()}));
  const QString path = QString::fromStdString(pty.SlavePath());
  EXPECT_TRUE(prompter.messages.isEmpty());
  EXPECT_TRUE(dialog.IsOpen());
  EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("关闭"));
  EXPECT_EQ(StatusText(dialog), path + QStringLiteral(" OPENED,9600,N,8,1"));

  pty.Write("12345");
  EXPECT_EVENTUALLY_EQ(dialog.RxCount(), 5);
  EXPECT_EQ(dialog.Label(kRxLabel)->text(), QStringLiteral("RX:5"));

  dialog.Button(kResetCountersButton)->click();
  EXPECT_EQ(dialog.Label(kRxLabel)->text(), QStringLiteral("RX:0"));
  EXPECT_EQ(dialog.Label(kTxLabel)->text(), QStringLiteral("TX:0"));
  pty.Write("abc");
  EXPECT_EVENTUALLY_EQ(dialog.Label(kRxLabel)->text(), QStringLiteral("RX:3"));
}

TEST(MainDialog, OpenButtonClosesAndReopens) {
  PtyPair pty;
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({pty.SlavePath()}));
  const QString path = QString::fromStdString(pty.SlavePath());
  for (int cycle = 0; cycle < 2; ++cycle) {
    dialog.Button(kOpenButton)->click();
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_FALSE(dialog.WantOpen());
    EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("打开"));
    EXPECT_EQ(StatusText(dialog), path + QStringLiteral(" CLOSED,9600,N,8,1"));
    dialog.Button(kOpenButton)->click();
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("关闭"));
  }
  EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(MainDialog, ChoosingAPortThatFailsShowsThePortClosed) {
  PtyPair pty;
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({pty.SlavePath()}));
  QComboBox* ports = dialog.ComboBox(kPortList);
  Choose(ports, 1);  // "---------"
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_FALSE(dialog.WantOpen());
  EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("打开"));
  EXPECT_EQ(prompter.messages.last(), QStringLiteral("打开---------失败:已被占用或不存在!"));
  EXPECT_EQ(StatusText(dialog), QStringLiteral("--------- CLOSED,9600,N,8,1"));
  // The next click opens the row shown.
  ports->setCurrentIndex(0);
  dialog.Button(kOpenButton)->click();
  EXPECT_TRUE(dialog.IsOpen());
  EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("关闭"));
}

TEST(MainDialog, ReportsAPortHeldByAnotherProgram) {
  PtyPair pty;
  SerialLink holder([] {});
  ASSERT_EQ(holder.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({pty.SlavePath()}));
  const QString path = QString::fromStdString(pty.SlavePath());
  EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("打开%1失败:已被占用或不存在!").arg(path)});
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_TRUE(StatusText(dialog).startsWith(path + QStringLiteral(" CLOSED,")));
}

TEST(MainDialog, SettingListsUpdateTheStatusLineAndTheOpenPort) {
  PtyPair pty;
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({pty.SlavePath()}));
  const QString path = QString::fromStdString(pty.SlavePath());
  QComboBox* bauds = dialog.ComboBox(kBaudList);
  Choose(bauds, 8);
  EXPECT_EQ(StatusText(dialog), path + QStringLiteral(" OPENED,43000,N,8,1"));
  struct termios2 tio {};
  ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &tio), 0);
  EXPECT_EQ(tio.c_ospeed, 43000u);

  dialog.Button(kOpenButton)->click();
  Choose(dialog.ComboBox(kParityList), 2);
  Choose(dialog.ComboBox(kStopBitsList), 1);
  EXPECT_EQ(StatusText(dialog), path + QStringLiteral(" CLOSED,43000,E,8,2"));
  EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(MainDialog, EnterValidatesThePeriodAndLeavesTheWindowOpen) {
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({}));
  prompter.messages.clear();
  testing::ShowActive(dialog);
  QSignalSpy finished(&dialog, &QDialog::finished);
  QLineEdit* period = dialog.Edit(kPeriodEdit);
  QTest::mouseClick(period, Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), period);

  const auto enterPeriod = [&](const QString& text) {
    testing::PressKey(Qt::Key_A, Qt::ControlModifier);
    testing::TypeText(text);
    testing::PressKey(Qt::Key_Return);
  };
  enterPeriod(QStringLiteral("5"));
  EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("“请填入一个在10和10000000之间的整数。”")});
  EXPECT_EQ(dialog.AutoSendPeriod(), 5u);
  EXPECT_EQ(QApplication::focusWidget(), period);
  EXPECT_EQ(period->selectedText(), QStringLiteral("5"));

  enterPeriod(QStringLiteral("12x"));
  EXPECT_EQ(prompter.messages.last(), QStringLiteral("“请填入一个正整数。”"));
  EXPECT_EQ(dialog.AutoSendPeriod(), 5u);
  EXPECT_EQ(period->selectedText(), QStringLiteral("12x"));

  // A valid period is taken, and the window stays.
  enterPeriod(QStringLiteral(" 200"));
  EXPECT_EQ(dialog.AutoSendPeriod(), 200u);
  EXPECT_EQ(prompter.messages.size(), 2);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(finished.count(), 0);
}

TEST(MainDialog, APathTypedIntoThePortBoxIsOpened) {
  PtyPair pty;
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({}));
  testing::ShowActive(dialog);
  prompter.messages.clear();
  QComboBox* ports = dialog.ComboBox(kPortList);
  QTest::mouseClick(ports->lineEdit(), Qt::LeftButton);
  const auto enterPath = [](const std::string& path) {
    testing::PressKey(Qt::Key_A, Qt::ControlModifier);
    testing::TypeText(QString::fromStdString(path));
    testing::PressKey(Qt::Key_Return);
  };
  const QString path = QString::fromStdString(pty.SlavePath());
  // Like choosing a row: it becomes the selection, and the open button opens it.
  enterPath(pty.SlavePath());
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(ports->currentText(), path);
  dialog.Button(kOpenButton)->click();
  EXPECT_TRUE(dialog.IsOpen());
  // With the port open, a typed path takes its place at once; a known one is not added twice.
  PtyPair second;
  const int rows = ports->count();
  QTest::mouseClick(ports->lineEdit(), Qt::LeftButton);
  enterPath(second.SlavePath());
  EXPECT_TRUE(dialog.IsOpen());
  EXPECT_TRUE(StatusText(dialog).startsWith(QString::fromStdString(second.SlavePath()) + QStringLiteral(" OPENED")));
  enterPath(pty.SlavePath());
  EXPECT_TRUE(dialog.IsOpen());
  EXPECT_EQ(ports->count(), rows + 1);
  EXPECT_TRUE(dialog.isVisible());
  // A missing path closes the port and says so; the button and the status line agree,
  // and the next click tries to open again rather than flipping the caption.
  enterPath("/dev/portprobe-missing");
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("打开"));
  EXPECT_TRUE(StatusText(dialog).startsWith(QStringLiteral("/dev/portprobe-missing CLOSED")));
  ASSERT_EQ(prompter.messages.size(), 1);
  dialog.Button(kOpenButton)->click();
  EXPECT_EQ(prompter.messages.size(), 2);
  EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("打开"));
  prompter.messages.clear();
  QTest::mouseClick(ports->lineEdit(), Qt::LeftButton);
  enterPath(pty.SlavePath());
  dialog.Button(kOpenButton)->click();
  EXPECT_TRUE(dialog.IsOpen());
  // A path typed but not confirmed is what the open button opens.
  PtyPair other;
  dialog.Button(kOpenButton)->click();
  ports->lineEdit()->setText(QString::fromStdString(other.SlavePath()));
  dialog.Button(kOpenButton)->click();
  EXPECT_TRUE(dialog.IsOpen());
  EXPECT_TRUE(StatusText(dialog).startsWith(QString::fromStdString(other.SlavePath()) + QStringLiteral(" OPENED")));
  EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(MainDialog, ADeviceThatGoesAwayIsReportedOnceAndShownClosed) {
  PtyPair pty;
  ScriptedPrompter prompter;
  MainDialog dialog(prompter, PortsFirst({pty.SlavePath()}));
  pty.Write("xy");
  EXPECT_EVENTUALLY_EQ(dialog.RxCount(), 2);
  pty.CloseMaster();
  // One line after the bytes, no message box.
  const std::string gone = "\r\n串口" + pty.SlavePath() + "已断开，设备回来后自动重连。\r\n";
  EXPECT_TRUE(testing::WaitUntil([&] { return !dialog.IsOpen(); }));
  EXPECT_EQ(dialog.Button(kOpenButton)->text(), QStringLiteral("打开"));
  EXPECT_TRUE(StatusText(dialog).contains(QStringLiteral(" CLOSED,")));
  QTest::qWait(50);
  EXPECT_EQ(std::string(dialog.ReceiveText()), "78 79 " + gone);
  EXPECT_TRUE(prompter.messages.isEmpty());
}

}  // namespace
}  // namespace portprobe
