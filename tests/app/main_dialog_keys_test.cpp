// Keys as the user presses them: through the application to the window's focus
// widget, never to a chosen control.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "app/dialog_test_support.h"
#include "support/refused_rate.h"
#include "support/wait.h"
#include "ui/plain_text_view.h"

namespace portprobe {
namespace {

using namespace resources;

class KeysTest : public testing::ConnectedWindowTest {
 protected:
  KeysTest() : finished_(&dialog_, &QDialog::finished) {
    testing::ShowActive(dialog_);
    prompter_.messages.clear();
  }
  void ExpectWindowStays() {
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(finished_.count(), 0);
  }
  QString Status() const { return dialog_.Label(kStatusLabel)->text(); }

  QSignalSpy finished_;
};

TEST_F(KeysTest, EnterAndEscapeOnEveryControlLeaveTheWindowOpen) {
  const QString sendText = SendText();
  QTest::mouseClick(dialog_.Edit(kPeriodEdit), Qt::LeftButton);
  QWidget* first = QApplication::focusWidget();
  ASSERT_NE(first, nullptr);
  int stops = 0;
  do {
    // A push button takes Enter as its click, and the send box as a new line.
    if (!qobject_cast<QPushButton*>(QApplication::focusWidget()) && QApplication::focusWidget() != SendBox()) {
      testing::PressKey(Qt::Key_Escape);
      testing::PressKey(Qt::Key_Return);
      testing::PressKey(Qt::Key_Enter, Qt::KeypadModifier);
      ExpectWindowStays();
      ++stops;
    }
    testing::PressKey(Qt::Key_Tab);
  } while (QApplication::focusWidget() != first && stops < 100);
  EXPECT_GE(stops, 12);  // the lists, the check boxes, the edits and the receive box
  EXPECT_TRUE(dialog_.IsOpen());
  EXPECT_EQ(SendText(), sendText);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(KeysTest, EnterInAListCommitsTheTypedOrChosenRowAndEscapeClosesOnlyTheDropDown) {
  QComboBox* bauds = dialog_.ComboBox(kBaudList);
  const QString path = QString::fromStdString(pty_.SlavePath());
  QTest::mouseClick(bauds->lineEdit(), Qt::LeftButton);
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  testing::TypeText(QStringLiteral("115200"));
  testing::PressKey(Qt::Key_Return);
  EXPECT_EQ(bauds->currentText(), QStringLiteral("115200"));
  EXPECT_EQ(Status(), path + QStringLiteral(" OPENED,115200,N,8,1"));

  // A text that names no row and no rate gives way to the selected one.
  const auto enterRate = [](const QString& text) {
    testing::PressKey(Qt::Key_A, Qt::ControlModifier);
    testing::TypeText(text);
    testing::PressKey(Qt::Key_Return);
  };
  for (const QString& text : {QStringLiteral("fast"), QStringLiteral("0"), QStringLiteral("-300")}) {
    enterRate(text);
    EXPECT_EQ(bauds->currentText(), QStringLiteral("115200"));
  }
  EXPECT_EQ(Status(), path + QStringLiteral(" OPENED,115200,N,8,1"));

  // Rows picked in the dropped-down list: Escape closes the list only, Enter takes the row.
  const int row = bauds->currentIndex();
  testing::PressKey(Qt::Key_Down, Qt::AltModifier);
  ASSERT_TRUE(bauds->view()->isVisible());
  testing::PressKey(Qt::Key_Escape);
  EXPECT_FALSE(bauds->view()->isVisible());
  ExpectWindowStays();
  testing::PressKey(Qt::Key_Down, Qt::AltModifier);
  ASSERT_TRUE(bauds->view()->isVisible());
  testing::PressKey(Qt::Key_Up);
  testing::PressKey(Qt::Key_Return);
  EXPECT_FALSE(bauds->view()->isVisible());
  EXPECT_EQ(bauds->currentIndex(), row - 1);
  EXPECT_EQ(Status(), path + QStringLiteral(" OPENED,") + bauds->currentText() + QStringLiteral(",N,8,1"));

  // Any other positive rate typed is applied and joins the list; a rate the driver
  // refuses is said, and the list, the status line and the device keep the rate before.
  const auto deviceRate = [this] {
    struct termios2 tio {};
    EXPECT_EQ(::ioctl(pty_.SlaveFd(), TCGETS2, &tio), 0);
    return tio.c_ospeed;
  };
  enterRate(QStringLiteral(" 250000"));
  EXPECT_EQ(bauds->currentText(), QStringLiteral("250000"));
  EXPECT_EQ(bauds->count(), 20);
  EXPECT_EQ(Status(), path + QStringLiteral(" OPENED,250000,N,8,1"));
  EXPECT_EQ(deviceRate(), 250000u);
  {
    testing::RefusedRate refused(500000);
    enterRate(QStringLiteral("500000"));
  }
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("参数设置失败!")});
  EXPECT_EQ(bauds->currentText(), QStringLiteral("250000"));
  EXPECT_EQ(bauds->count(), 20);
  EXPECT_EQ(Status(), path + QStringLiteral(" OPENED,250000,N,8,1"));
  EXPECT_EQ(deviceRate(), 250000u);
  // A refused row of the list goes back the same way.
  {
    testing::RefusedRate refused(3000000);
    testing::PressKey(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(bauds->view()->isVisible());
    testing::PressKey(Qt::Key_Up);
    testing::PressKey(Qt::Key_Return);
  }
  EXPECT_EQ(prompter_.messages.size(), 2);
  EXPECT_EQ(bauds->currentText(), QStringLiteral("250000"));
  EXPECT_EQ(deviceRate(), 250000u);
  EXPECT_TRUE(dialog_.IsOpen());
  prompter_.messages.clear();

  // Leaving the box with Tab takes a typed rate as Enter does, and puts back the rate
  // in force for a text that is none.
  const auto leaveWith = [](const QString& text) {
    testing::PressKey(Qt::Key_A, Qt::ControlModifier);
    testing::TypeText(text);
    testing::PressKey(Qt::Key_Tab);
  };
  leaveWith(QStringLiteral("57601"));
  EXPECT_EQ(bauds->currentText(), QStringLiteral("57601"));
  EXPECT_EQ(Status(), path + QStringLiteral(" OPENED,57601,N,8,1"));
  EXPECT_EQ(deviceRate(), 57601u);
  QTest::mouseClick(bauds->lineEdit(), Qt::LeftButton);
  leaveWith(QStringLiteral("fast"));
  EXPECT_EQ(bauds->currentText(), QStringLiteral("57601"));
  EXPECT_EQ(deviceRate(), 57601u);
  EXPECT_TRUE(prompter_.messages.isEmpty());

  // The port list takes a row's name too.
  QTest::mouseClick(dialog_.ComboBox(kPortList)->lineEdit(), Qt::LeftButton);
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  testing::TypeText(QStringLiteral("com7"));
  testing::PressKey(Qt::Key_Return);
  EXPECT_EQ(dialog_.ComboBox(kPortList)->currentText(), QStringLiteral("COM7"));
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("打开COM7失败:已被占用或不存在!")});
  // A device that is no port is named as such, and the settings stay in the status line.
  QTest::mouseClick(dialog_.ComboBox(kPortList)->lineEdit(), Qt::LeftButton);
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  testing::TypeText(QStringLiteral("/dev/null"));
  testing::PressKey(Qt::Key_Return);
  QTest::mouseClick(dialog_.Button(kOpenButton), Qt::LeftButton);  // the failed open left the port closed
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("打开/dev/null失败:不是串口!"));
  EXPECT_EQ(Status(), QStringLiteral("/dev/null CLOSED,57601,N,8,1"));
  ExpectWindowStays();
}

// The mnemonic clicks during the key press itself, not after an animated press.
// Each button's Alt key acts on the press and leaves the focus in the box the user
// types in, so the next keys are not lost.
TEST_F(KeysTest, AltKeysActOnThePressAndLeaveTheFocusWhereItWas) {
  QSignalSpy clicked(dialog_.Button(kManualSendButton), &QPushButton::clicked);
  testing::PressKey(Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_EQ(pty_.Read(11).size(), 11u);
  QTest::mouseClick(SendBox()->viewport(), Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), SendBox());
  testing::PressKey(Qt::Key_C, Qt::AltModifier);
  EXPECT_EQ(SendText(), QString());
  testing::TypeText(QStringLiteral("01 02"));
  testing::PressKey(Qt::Key_A, Qt::AltModifier);
  testing::PressKey(Qt::Key_K, Qt::AltModifier);
  testing::PressKey(Qt::Key_X, Qt::AltModifier);  // no capture file: a message
  testing::PressKey(Qt::Key_L, Qt::AltModifier);  // asks before it clears
  testing::TypeText(QStringLiteral(" 03"));
  EXPECT_EQ(QApplication::focusWidget(), SendBox());
  EXPECT_TRUE(SendText().endsWith(QStringLiteral(" 03")));
  EXPECT_EQ(prompter_.messages.size(), 1);
  EXPECT_EQ(prompter_.questions, QStringList{QStringLiteral("清空全部1条历史命令？")});
  ExpectWindowStays();
}

// A right click in a text box opens the edit menu of an edit box; in the receive box
// only the entries that leave the received text alone can act.
TEST_F(KeysTest, ARightClickInATextBoxOpensItsEditMenu) {
  constexpr int kCopy = 4, kPaste = 5, kSelectAll = 7;
  const auto rightClick = [](QWidget* box) {
    QWidget* area = static_cast<ui::PlainTextView*>(box)->viewport();
    QTest::mouseClick(area->window()->windowHandle(), Qt::RightButton, {}, area->mapTo(area->window(), QPoint(5, 5)));
  };
  SetSendText(QStringLiteral("01 02"));
  prompter_.menuChoices = {kSelectAll, kCopy};
  rightClick(SendBox());
  rightClick(SendBox());
  ASSERT_EQ(prompter_.menus.size(), 2u);
  EXPECT_EQ(prompter_.menus[0],
            (QStringList{QStringLiteral("撤销(&U)"), QStringLiteral("重做(&R)"), QStringLiteral("-"),
                         QStringLiteral("剪切(&T)"), QStringLiteral("复制(&C)"), QStringLiteral("粘贴(&P)"),
                         QStringLiteral("删除(&D)"), QStringLiteral("-"), QStringLiteral("全选(&A)")}));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("01 02"));

  // Pasting into the receive box is offered but does nothing there.
  dialog_.AppendReceiveText("41 42 ");
  prompter_.menuChoices = {kPaste};
  rightClick(dialog_.ReceiveBox());
  EXPECT_EQ(dialog_.ReceiveText(), "41 42 ");
  ExpectWindowStays();
}

}  // namespace
}  // namespace portprobe
