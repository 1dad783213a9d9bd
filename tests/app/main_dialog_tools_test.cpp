#include <QTest>
#include <gtest/gtest.h>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "common/executable_directory.h"
#include "support/scoped_environment.h"
#include "ui/plain_text_view.h"

namespace portprobe {
namespace {

using namespace resources;

class ToolsTest : public testing::ConnectedWindowTest {
 protected:
  // Opens the tools menu with a right click on the window's surface and picks an entry.
  void ChooseTool(int id) { testing::ChooseTool(dialog_, prompter_, id); }
};

TEST_F(ToolsTest, MenuOffersTheToolsInOrder) {
  ChooseTool(-1);
  ASSERT_EQ(prompter_.menus.size(), 1u);
  EXPECT_EQ(prompter_.menus[0],
            (QStringList{"十进制 -> 十六进制", "-", "十进制 <- 十六进制", "-", "二进制 <- 十六进制", "-", "计 算 器",
                         "-", "多条发送", "波形显示", "终端模式", "-", "接收校验", "自动重连", "-", "时间戳", "显示发送", "选项...", "恢复默认设置",
                         "-", "RTS", "DTR", "发送Break", "-", "自动应答", "-", "载入数据包解析器", "-", "实时解析", "-",
                         "About && Help", "关于 ttyprobe(&A)..."}));
  dialog_.Button(kMenuButton)->click();
  EXPECT_EQ(prompter_.menus.size(), 2u);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(ToolsTest, ConversionsUseTheReceiveSelectionThenTheSendSelectionThenTheSendBox) {
  SetSendText(QStringLiteral("255"));
  ChooseTool(tools::kDecimalToHex);
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("FF"));

  SetSendText(QStringLiteral("1234 99"));
  SendBox()->SetSelection(5, 7);
  ChooseTool(tools::kDecimalToHex);
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("63"));

  ui::PlainTextView* receive = dialog_.ReceiveBox();
  receive->SetText("xx A5 0F yy");
  receive->SetSelection(3, 8);
  ChooseTool(tools::kHexToBinary);
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("A5 0F -> 1010 0101 0000 1111 "));
  ChooseTool(tools::kHexToDecimal);
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("-1525743616"));
}

TEST_F(ToolsTest, HelpOpensTheFileBesideTheProgramAndTheCalculatorStarts) {
  EXPECT_EQ(TerminalOptions().helpFile, ExecutableDirectory() + "/readme.txt");
  const QString help = QString::fromStdString(folder_.WriteFile("readme.txt", "manual"));
  ChooseTool(tools::kHelp);
  EXPECT_EQ(prompter_.openedDocuments, QStringList{help});

  // The first calculator of the list that is on the path.
  {
    testing::ScopedEnvironment path("PATH", folder_.Path().string());
    for (const char* name : {"xcalc", "galculator"})
      folder_.WriteFile(name, "#!/bin/sh\n", std::filesystem::perms::owner_all);
    ChooseTool(tools::kCalculator);
  }
  EXPECT_EQ(prompter_.startedPrograms, QStringList{QString::fromStdString(folder_.File("galculator"))});
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(ToolsTest, AMissingCalculatorHelpFileOrViewerIsNamedWithWhatToInstall) {
  {
    testing::ScopedEnvironment path("PATH", folder_.Path().string());
    ChooseTool(tools::kCalculator);
  }
  EXPECT_TRUE(prompter_.startedPrograms.isEmpty());
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_EQ(prompter_.messages[0],
            QStringLiteral("找不到计算器。请安装 gnome-calculator、kcalc、galculator、qalculate-gtk 或 "
                           "x11-apps(xcalc)中的一个。"));

  const QString help = QString::fromStdString(folder_.File("readme.txt"));
  ChooseTool(tools::kHelp);
  EXPECT_TRUE(prompter_.openedDocuments.isEmpty());
  EXPECT_EQ(prompter_.messages.last(),
            QStringLiteral("找不到帮助文件%1。请重新安装 PortProbe:cmake --install 把 readme.txt 装在 portprobe 旁边。")
                .arg(help));

  folder_.WriteFile("readme.txt", "manual");
  prompter_.documentsOpen = false;
  ChooseTool(tools::kHelp);
  EXPECT_EQ(prompter_.openedDocuments, QStringList{help});
  EXPECT_EQ(
      prompter_.messages.last(),
      QStringLiteral("无法打开帮助文件%1。请安装 xdg-utils 和一个文本编辑器(例如 gedit 或 mousepad)。").arg(help));
}

TEST_F(ToolsTest, ARightClickInsideTheReceiveBoxIsNotOneOnTheWindow) {
  QTest::mouseClick(dialog_.ReceiveBox()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_TRUE(prompter_.menus.empty());
}

}  // namespace
}  // namespace portprobe
