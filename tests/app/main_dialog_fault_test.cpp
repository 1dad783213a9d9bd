#include <QLineEdit>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "app/tools_menu.h"
#include "app/dialog_test_support.h"
#include "resources/strings.h"
#include "support/file_permissions.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

class FaultTest : public testing::ConnectedWindowTest {
 protected:
  // Types a device path into the port box, as a user would, and opens it.
  void OpenTyped(const std::string& path) {
    testing::ShowActive(dialog_);
    QTest::mouseClick(dialog_.ComboBox(kPortList)->lineEdit(), Qt::LeftButton);
    testing::PressKey(Qt::Key_A, Qt::ControlModifier);
    testing::TypeText(QString::fromStdString(path));
    testing::PressKey(Qt::Key_Return);
    if (!dialog_.IsOpen()) Click(kOpenButton);
  }
};

TEST_F(FaultTest, AFarEndThatClosesDuringAFloodIsReportedOnceAndThePortReopens) {
  Preferences preferences = dialog_.CurrentPreferences();
  preferences.autoReconnect = false;  // the user reopens
  dialog_.SetPreferences(preferences);
  ::fcntl(pty_.MasterFd(), F_SETFL, O_NONBLOCK);
  std::atomic<bool> flooding = true;
  std::thread device([&] {
    const ByteFrame chunk = testing::RandomBytes(4096, 7);
    while (flooding) {
      if (::write(pty_.MasterFd(), chunk.data(), chunk.size()) < 0) std::this_thread::yield();
    }
  });
  EXPECT_TRUE(testing::WaitUntil([&] { return dialog_.RxCount() > 256 * 1024; }));
  flooding = false;
  device.join();
  pty_.CloseMaster();
  const std::string goneLine =
      QString::fromUtf8(kHungUpText).arg(QString::fromStdString(pty_.SlavePath())).toStdString();
  EXPECT_TRUE(testing::WaitUntil([&] { return dialog_.ReceiveText().find(goneLine) != std::string::npos; }));
  QTest::qWait(100);
  const std::string_view received = dialog_.ReceiveText();
  EXPECT_EQ(received.find(goneLine), received.rfind(goneLine));
  EXPECT_TRUE(prompter_.messages.isEmpty());
  EXPECT_FALSE(dialog_.IsOpen());
  EXPECT_EQ(dialog_.Button(kOpenButton)->text(), QStringLiteral("打开"));

  // Another device opens cleanly and its bytes are counted from where the count stood.
  testing::PtyPair other;
  const std::int64_t before = dialog_.RxCount();
  OpenTyped(other.SlavePath());
  ASSERT_TRUE(dialog_.IsOpen());
  other.Write("ok");
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), before + 2);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(FaultTest, ADevicePathThatVanishesFailsToOpenWithItsName) {
  testing::PtyPair device;
  const std::string link = folder_.File("serial-by-id");
  std::filesystem::create_symlink(device.SlavePath(), link);
  Click(kOpenButton);  // close the port the window opened at start
  OpenTyped(link);
  ASSERT_TRUE(dialog_.IsOpen());

  std::filesystem::remove(link);
  device.CloseMaster();
  EXPECT_TRUE(testing::WaitUntil([&] { return !dialog_.IsOpen(); }));
  EXPECT_TRUE(prompter_.messages.isEmpty());
  EXPECT_NE(dialog_.ReceiveText().find(link), std::string::npos);
  Click(kOpenButton);
  EXPECT_EQ(prompter_.messages,
            QStringList{QStringLiteral("打开%1失败:已被占用或不存在!").arg(QString::fromStdString(link))});
  EXPECT_FALSE(dialog_.IsOpen());
}

TEST_F(FaultTest, AParserFileThatIsAFolderOrUnreadableDoesNotLoad) {
  const std::string unreadable = testing::WithPermissions(folder_.WriteFile("unreadable.txt", "void main()\n{\n}\n"),
                                                          std::filesystem::perms::none);
  const testing::ScopedFilePermissions permissionsCount;
  prompter_.openAnswers = {QString::fromStdString(folder_.Path().string()), QString::fromStdString(unreadable)};
  prompter_.menuChoices = {tools::kLoadParser, tools::kLoadParser};
  Click(kMenuButton);
  Click(kMenuButton);
  // Each says why.
  ASSERT_EQ(prompter_.messages.size(), 2);
  EXPECT_EQ(prompter_.messages[0], QStringLiteral("载入解析器失败: 无法读取文件%1: 不是普通文件")
                                       .arg(QString::fromStdString(folder_.Path().string())));
  EXPECT_TRUE(prompter_.messages[1].startsWith(
      QStringLiteral("载入解析器失败: 无法读取文件%1: ").arg(QString::fromStdString(unreadable))));
  EXPECT_FALSE(prompter_.messages[1].endsWith(QStringLiteral(": ")));  // the system's reason
  EXPECT_FALSE(std::filesystem::exists(StateFile("parsers.txt")));
}

TEST_F(FaultTest, AnUnreadableHistoryFileLeavesTheListAsItIs) {
  SetSendText(QStringLiteral("01 02"));
  Click(kAddHistoryButton);
  const std::string unreadable =
      testing::WithPermissions(folder_.WriteFile("history.txt", "AA\r\nBB\r\n"), std::filesystem::perms::none);
  const testing::ScopedFilePermissions permissionsCount;
  prompter_.openAnswers = {QString::fromStdString(unreadable)};
  Click(kImportHistoryButton);
  EXPECT_EQ(dialog_.ComboBox(kHistoryList)->count(), 1);
}

}  // namespace
}  // namespace portprobe
