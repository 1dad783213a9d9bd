// A device that goes away while open: no message box, one line and the status line say
// so, and with "自动重连" the same device is reopened once it is back.
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>
#include <memory>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "resources/strings.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

constexpr int kBaud115200Row = 11;

// A window opened on a symbolic link to a pseudo-terminal, as a by-id link or a
// simulator's link would be.
class LinkedDeviceTest : public ::testing::Test {
 protected:
  LinkedDeviceTest()
      : link_(folder_.File("device")),
        first_(MakeLinkedPty()),
        stateHome_("XDG_STATE_HOME", folder_.Path().string()),
        dialog_(prompter_, testing::PortsFirst({link_})) {}

  std::unique_ptr<testing::PtyPair> MakeLinkedPty() {
    auto pty = std::make_unique<testing::PtyPair>();
    PointLinkAt(*pty);
    return pty;
  }
  // Re-points the link in one step, as udev replaces its links.
  void PointLinkAt(const testing::PtyPair& pty) {
    const std::string next = folder_.File("device.next");
    std::filesystem::create_symlink(pty.SlavePath(), next);
    std::filesystem::rename(next, link_);
  }
  // The far end closes; the window notices by itself.
  void CloseFarEnd() {
    first_->CloseMaster();
    ASSERT_TRUE(testing::WaitUntil([&] { return !dialog_.IsOpen(); }));
  }
  QString Status() const { return dialog_.Label(kStatusLabel)->text(); }
  QString Received() const { return QString::fromStdString(std::string(dialog_.ReceiveText())); }
  QString Line(const char* text) const { return QString::fromUtf8(text).arg(QString::fromStdString(link_)); }
  void ChooseTool(int id) {
    prompter_.menuChoices.push_back(id);
    QTest::mouseClick(&dialog_, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  }

  testing::TempDir folder_;
  std::string link_;
  std::unique_ptr<testing::PtyPair> first_;
  testing::ScopedEnvironment stateHome_;
  testing::ScriptedPrompter prompter_;
  MainDialog dialog_;
};

TEST_F(LinkedDeviceTest, TheLinkRepointedToANewPseudoTerminalIsReopenedWithTheSameSettings) {
  ASSERT_TRUE(dialog_.IsOpen());
  testing::Choose(dialog_.ComboBox(kBaudList), kBaud115200Row);
  testing::PtyPair second;  // made now, so it cannot take the number of the first
  CloseFarEnd();
  EXPECT_TRUE(prompter_.messages.isEmpty());
  EXPECT_TRUE(Received().endsWith(QStringLiteral("\r\n%1\r\n").arg(Line(kAwaitingReturnLineText))))
      << Received().toStdString();
  EXPECT_TRUE(Status().endsWith(QStringLiteral(" CLOSED,115200,N,8,1 已断开，等待重连…"))) << Status().toStdString();
  EXPECT_EQ(dialog_.Button(kOpenButton)->text(), QStringLiteral("打开"));

  PointLinkAt(second);
  EXPECT_TRUE(testing::WaitUntil([&] { return dialog_.IsOpen(); }, 3000));
  EXPECT_TRUE(prompter_.messages.isEmpty());
  EXPECT_TRUE(Received().endsWith(Line(kReconnectedLineText) + QStringLiteral("\r\n")));
  EXPECT_EQ(Status(), QString::fromStdString(link_) + QStringLiteral(" OPENED,115200,N,8,1"));
  EXPECT_EQ(dialog_.Button(kOpenButton)->text(), QStringLiteral("关闭"));
  termios settings{};
  ASSERT_EQ(::tcgetattr(second.SlaveFd(), &settings), 0);
  EXPECT_EQ(::cfgetospeed(&settings), B115200);
  second.Write("ok");
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 2);
}

TEST_F(LinkedDeviceTest, PressingOpenOrCloseEndsTheWait) {
  testing::PtyPair second;
  CloseFarEnd();
  // The link still points at the closed terminal: the user's open fails and is said,
  // and so is the end of the wait, in the box and on the status line.
  dialog_.Button(kOpenButton)->click();
  EXPECT_EQ(prompter_.messages, QStringList{Line(kOpenFailedText)});
  EXPECT_FALSE(Status().contains(QStringLiteral("已断开")));
  EXPECT_TRUE(Received().endsWith(Line(kAwaitingReturnLineText) + QStringLiteral("\r\n已停止等待重连\r\n")))
      << Received().toStdString();
  EXPECT_TRUE(Status().endsWith(QStringLiteral(" 已停止等待重连"))) << Status().toStdString();
  PointLinkAt(second);
  QTest::qWait(1200);
  EXPECT_FALSE(dialog_.IsOpen());
}

TEST_F(LinkedDeviceTest, WithoutAutoReconnectTheDeviceIsOnlyReportedGone) {
  EXPECT_TRUE(dialog_.CurrentPreferences().autoReconnect);
  ChooseTool(tools::kAutoReconnect);
  ASSERT_FALSE(prompter_.menus.empty());
  EXPECT_TRUE(prompter_.menus[0].contains(QStringLiteral("自动重连")));
  EXPECT_FALSE(dialog_.CurrentPreferences().autoReconnect);

  testing::PtyPair second;
  CloseFarEnd();
  EXPECT_TRUE(prompter_.messages.isEmpty());
  EXPECT_TRUE(Received().endsWith(QStringLiteral("\r\n%1\r\n").arg(Line(kHungUpText))));
  EXPECT_TRUE(Status().endsWith(QStringLiteral(" 已断开"))) << Status().toStdString();
  PointLinkAt(second);
  QTest::qWait(1200);
  EXPECT_FALSE(dialog_.IsOpen());

  // Ticking it while a device is gone does not bring back a wait that was never begun;
  // the user opens the port, and the next loss is awaited.
  ChooseTool(tools::kAutoReconnect);
  EXPECT_TRUE(dialog_.CurrentPreferences().autoReconnect);
  dialog_.Button(kOpenButton)->click();
  ASSERT_TRUE(dialog_.IsOpen());
  EXPECT_EQ(Status(), QString::fromStdString(link_) + QStringLiteral(" OPENED,9600,N,8,1"));
}

}  // namespace
}  // namespace portprobe
