#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "support/file_permissions.h"
#include "support/wait.h"
#include "ui/plain_text_view.h"

namespace portprobe {
namespace {

using namespace resources;

const std::string kDecoder =
    "int addr;\r\nint len;\r\nvoid main()\r\n{\r\nset addr 0 1\r\nset len 2 1\r\n"
    "echo 'addr=' addr ' len=' len '\\r\\n'\r\n}\r\n";

class ParserMenuTest : public testing::ConnectedWindowTest {
 protected:
  void ChooseTool(int id) {
    prompter_.menuChoices.push_back(id);
    dialog_.Button(kMenuButton)->click();
  }
  void Load(const std::string& name, const std::string& script) {
    prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile(name, script)));
    ChooseTool(tools::kLoadParser);
  }
  std::string Box() const { return dialog_.ControlText(kReceiveBox).toStdString(); }
  QStringList LastMenu() const { return prompter_.menus.back(); }
  QStringList ParserEntries() const { return LastMenu().filter(QRegularExpression(QStringLiteral("^解析器\\d"))); }
};

TEST_F(ParserMenuTest, RunsALoadedParserOverTheSelectedFrame) {
  Load("modbus.txt", kDecoder);
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("载入解析器成功")});
  EXPECT_EQ(testing::ReadFile(StateFile("parsers.txt")), folder_.File("modbus.txt") + "\r\n");
  ASSERT_EQ(prompter_.openRequests.size(), 1u);
  EXPECT_EQ(prompter_.openRequests[0].defaultFileName, QStringLiteral("parser.txt"));

  // The device's answer, selected in the receive box, is what the parser decodes.
  pty_.Write(std::vector<std::uint8_t>{0x01, 0x03, 0x06});
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 3);
  dialog_.ReceiveBox()->SelectAll();
  ChooseTool(tools::kFirstParser);
  const std::string expected =
      "01 03 06 \r\n---Start Parser--------\r\n\r\ngi_globalVarCnt:0x2 2\r\naddr=1 len=6\r\n"
      "\r\n---Exit Parser  unfreeptr=0--------\r\n";
  EXPECT_EQ(Box(), expected);
  EXPECT_EQ(testing::ReadFile(StateFile("__parser__0.txt")).substr(0, 23), "0000__0001:\tint addr;\r\n");
  EXPECT_TRUE(std::filesystem::exists(StateFile("__parser__1.txt")));
  // Nothing lands in the working directory.
  for (const char* name : {"parsers.txt", "__parser__0.txt", "__parser__1.txt"}) {
    EXPECT_FALSE(std::filesystem::exists(folder_.File(name))) << name;
  }
  EXPECT_TRUE(LastMenu().contains(QStringLiteral("解析器1:") + QString::fromStdString(folder_.File("modbus.txt"))));
}

TEST_F(ParserMenuTest, HoldsAtMostEightParsers) {
  for (int i = 0; i < 8; ++i) Load("p" + std::to_string(i) + ".txt", "void main()\r\n{\r\n}\r\n");
  EXPECT_EQ(prompter_.messages.size(), 8);
  Load("p3.txt", "echo 'again'\r\n");  // never asked for: the table is full
  EXPECT_EQ(prompter_.messages.last(), QStringLiteral("解析器已经太多了!"));
  EXPECT_EQ(prompter_.openRequests.size(), 8u);

  ChooseTool(-1);
  EXPECT_EQ(ParserEntries().size(), 8);
}

TEST_F(ParserMenuTest, AFailedLoadAndAFailedReload) {
  prompter_.openAnswers.push_back(QString::fromStdString(folder_.WriteFile("huge.txt", std::string(1048577, ' '))));
  ChooseTool(tools::kLoadParser);
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("载入解析器失败: 无法读取文件%1: 文件太大，最多1048576字节")
                                                .arg(QString::fromStdString(folder_.File("huge.txt")))});

  Load("gone.txt", "void main()\r\n{\r\n}\r\n");
  std::filesystem::remove(folder_.File("gone.txt"));
  prompter_.openAnswers.push_back(QString::fromStdString(folder_.File("gone.txt")));
  ChooseTool(tools::kLoadParser);  // the same path again: reloaded quietly, and it fails
  EXPECT_EQ(prompter_.messages.size(), 2);
  ChooseTool(tools::kFirstParser);  // an empty slot runs nothing
  EXPECT_TRUE(LastMenu().contains(QStringLiteral("解析器1:")));
  EXPECT_EQ(Box(), "Receiving Area");
}

TEST_F(ParserMenuTest, AParserThatDoesNotEndCanBeStopped) {
  Load("forever.txt", "void main()\r\n{\r\nagain:\r\necho '.'\r\ngoto again\r\n}\r\n");
  prompter_.stopAnswers = {true};
  ChooseTool(tools::kFirstParser);
  ASSERT_EQ(prompter_.stopOffers.size(), 1);
  const std::string box = Box();
  EXPECT_NE(box.find("..."), std::string::npos);
  EXPECT_NE(box.find(",Ex=e>\r\n"), std::string::npos);
  EXPECT_TRUE(box.ends_with("\r\n---Exit Parser  unfreeptr=0--------\r\n"));
}

// A parser loads even where its list cannot be kept, and the user hears that it will
// not come back at the next start.
TEST_F(ParserMenuTest, AListThatCannotBeWrittenIsSaidToBeLost) {
  const std::string list = StateFile("parsers.txt");
  std::filesystem::create_directories(std::filesystem::path(list).parent_path());
  testing::WithPermissions(std::filesystem::path(list).parent_path().string(),
                           std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const testing::ScopedFilePermissions permissions;
  Load("a.txt", "void main()\r\n{\r\n}\r\n");
  EXPECT_EQ(prompter_.messages,
            QStringList{QStringLiteral("载入解析器成功\n解析器列表无法保存到%1，下次启动时不会自动载入。")
                            .arg(QString::fromStdString(list))});
  ChooseTool(-1);
  EXPECT_EQ(ParserEntries().size(), 1);
}

TEST_F(ParserMenuTest, ANewStartRestoresTheListedParsers) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) folder_.WriteFile(name, "void main()\r\n{\r\n}\r\n");
  std::filesystem::create_directories(std::filesystem::path(StateFile("")));
  testing::WriteFile(StateFile("parsers.txt"), folder_.File("a.txt") + "\r\n" + folder_.File("missing.txt") + "\r\n" +
                                                   folder_.File("b.txt") + "\r\n" + folder_.File("c.txt") + "\r\n");
  ChooseTool(-1);
  const QStringList parsers = ParserEntries();
  ASSERT_EQ(parsers.size(), 3);
  EXPECT_EQ(parsers[0], QStringLiteral("解析器1:") + QString::fromStdString(folder_.File("a.txt")));
  EXPECT_EQ(parsers[2], QStringLiteral("解析器3:") + QString::fromStdString(folder_.File("c.txt")));
}

TEST_F(ParserMenuTest, AListOrScriptThatIsNoRegularFileNeverHoldsTheMenu) {
  // The list is a FIFO that no one writes: the menu opens at once and says so, once.
  const std::string list = StateFile("parsers.txt");
  std::filesystem::create_directories(std::filesystem::path(list).parent_path());
  ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
  EXPECT_TRUE(testing::AnswersWithin(10000, [&] {
    ChooseTool(-1);
    ChooseTool(-1);
  }));
  EXPECT_EQ(prompter_.menus.size(), 2u);
  EXPECT_EQ(prompter_.messages,
            QStringList{QStringLiteral("无法读取文件%1: 不是普通文件").arg(QString::fromStdString(list))});
  EXPECT_TRUE(ParserEntries().isEmpty());

  prompter_.openAnswers = {QStringLiteral("/dev/zero"), QString::fromStdString(list)};
  EXPECT_TRUE(testing::AnswersWithin(10000, [&] {
    ChooseTool(tools::kLoadParser);
    ChooseTool(tools::kLoadParser);
  }));
  EXPECT_EQ(
      prompter_.messages.mid(1),
      (QStringList{QStringLiteral("载入解析器失败: 无法读取文件/dev/zero: 不是普通文件"),
                   QStringLiteral("载入解析器失败: 无法读取文件%1: 不是普通文件").arg(QString::fromStdString(list))}));
}

TEST_F(ParserMenuTest, AListInTheWorkingDirectoryIsTakenOverOnce) {
  folder_.WriteFile("a.txt", "void main()\r\n{\r\n}\r\n");
  const std::string oldList = folder_.WriteFile("parsers.txt", folder_.File("a.txt") + "\r\n");
  ChooseTool(-1);
  EXPECT_EQ(ParserEntries(), QStringList{QStringLiteral("解析器1:") + QString::fromStdString(folder_.File("a.txt"))});
  EXPECT_EQ(testing::ReadFile(StateFile("parsers.txt")), folder_.File("a.txt") + "\r\n");

  // From now on only the state folder's list grows; the old one is left as it was.
  Load("b.txt", "void main()\r\n{\r\n}\r\n");
  EXPECT_EQ(testing::ReadFile(StateFile("parsers.txt")),
            folder_.File("a.txt") + "\r\n" + folder_.File("b.txt") + "\r\n");
  EXPECT_EQ(testing::ReadFile(oldList), folder_.File("a.txt") + "\r\n");
}

}  // namespace
}  // namespace portprobe
