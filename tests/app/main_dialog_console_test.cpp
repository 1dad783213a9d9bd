#include <QApplication>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "support/wait.h"
#include "ui/console_view.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::PressKey;
using testing::TypeText;

std::string RowText(const ConsoleScreen& screen, int row) {
  std::u32string text;
  for (int column = 0; column < screen.Columns(); ++column) {
    const ConsoleCell cell = screen.Cell(row, column);
    if (cell.width > 0) text += cell.text.empty() ? U" " : cell.text;
  }
  text.erase(text.find_last_not_of(U' ') + 1);
  return QString::fromStdU32String(text).toStdString();
}

// The row of the screen that is exactly `text`, or -1.
int RowOf(const ConsoleScreen& screen, const std::string& text) {
  for (int row = 0; row < screen.Rows(); ++row) {
    if (RowText(screen, row) == text) return row;
  }
  return -1;
}

class ConsoleTest : public testing::ConnectedWindowTest {
 protected:
  ui::ConsoleView* Console() const { return dialog_.findChild<ui::ConsoleView*>(); }
  void SwitchConsole() { testing::ChooseTool(dialog_, prompter_, tools::kConsole); }
  std::string ReadFar(std::size_t count) {
    const std::vector<std::uint8_t> bytes = pty_.Read(count);
    return std::string(bytes.begin(), bytes.end());
  }
};

// Every key typed goes to the device as a terminal sends it, the window's own
// shortcuts included; what the device sends is interpreted on the screen, while the
// receive path counts it and the receive box keeps it for when console mode is off.
TEST_F(ConsoleTest, KeysGoToTheDeviceAndItsBytesToTheScreen) {
  testing::ShowActive(dialog_);
  SwitchConsole();
  ASSERT_NE(Console(), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), Console());
  EXPECT_FALSE(dialog_.ReceiveBox()->isVisible());

  TypeText(QStringLiteral("ls"));
  PressKey(Qt::Key_Return);
  EXPECT_EQ(ReadFar(3), "ls\r");
  PressKey(Qt::Key_C, Qt::ControlModifier);
  PressKey(Qt::Key_Up);
  PressKey(Qt::Key_Tab);
  PressKey(Qt::Key_S, Qt::AltModifier);  // the window's "手动发送" everywhere else
  PressKey(Qt::Key_F5);
  EXPECT_EQ(ReadFar(12), "\x03\x1b[A\t\x1bs\x1b[15~");
  EXPECT_EQ(QApplication::focusWidget(), Console());
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 15);  // counted once the link reports the write

  const std::string sent = "\x1b[31mRED\x1b[0m\r\nok\x1b[6n";
  pty_.Write(sent);
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), static_cast<std::int64_t>(sent.size()));
  const ConsoleScreen& screen = Console()->Screen();
  EXPECT_EQ(RowText(screen, 0), "RED");
  EXPECT_FALSE(screen.Cell(0, 0).foreground.isDefault);
  EXPECT_EQ(RowText(screen, 1), "ok");
  EXPECT_EQ(ReadFar(6), "\x1b[2;3R");  // the screen answers where its cursor is

  // A wider window gives a wider screen, and says how large it is now.
  const int columns = Console()->Screen().Columns();
  dialog_.resize(dialog_.width() + 200, dialog_.height());
  EXPECT_GT(Console()->Screen().Columns(), columns);
  EXPECT_EQ(Console()->SizeNotice().toStdString(), std::to_string(Console()->Screen().Columns()) + "列 × " +
                                                       std::to_string(Console()->Screen().Rows()) + "行");

  SwitchConsole();
  EXPECT_FALSE(Console()->isVisible());
  EXPECT_TRUE(dialog_.ReceiveBox()->isVisible());
  EXPECT_NE(dialog_.ReceiveText().find("1B 5B 33 31 6D 52 45 44   1B 5B 30 6D 0D 0A 6F 6B"), std::string::npos);
  SwitchConsole();
  EXPECT_EQ(RowText(Console()->Screen(), 0), "");  // a clean screen
}

// A real shell on the far end of a pseudo-terminal: its colours reach the screen, Ctrl+C
// stops what it runs, and "exit" ends it.
TEST(ConsoleShellTest, AShellOnTheFarEndRunsInTheScreen) {
  testing::TempDir folder;
  const std::string link = folder.File("shell");
  QProcess shell;
  shell.start(QStringLiteral("socat"),
              {QStringLiteral("pty,raw,echo=0,link=") + QString::fromStdString(link),
               QStringLiteral("exec:bash --norc --noprofile -i,pty,setsid,ctty,stderr,sane")});
  ASSERT_TRUE(testing::WaitUntil([&] { return std::filesystem::exists(link); }));
  testing::ScriptedPrompter prompter;
  testing::ScopedEnvironment home("HOME", folder.Path().string());
  testing::ScopedEnvironment prompt("PS1", "$ ");
  MainDialog dialog(prompter, testing::PortsFirst({link}));
  testing::ShowActive(dialog);
  ASSERT_TRUE(dialog.IsOpen());
  testing::ChooseTool(dialog, prompter, tools::kConsole);
  const ConsoleScreen& screen = dialog.findChild<ui::ConsoleView*>()->Screen();

  TypeText(QStringLiteral("echo -e '\\e[31mRED\\e[0m'"));
  PressKey(Qt::Key_Return);
  ASSERT_TRUE(testing::WaitUntil([&] { return RowOf(screen, "RED") >= 0; })) << RowText(screen, 0);
  const ConsoleCell red = screen.Cell(RowOf(screen, "RED"), 0);
  EXPECT_FALSE(red.foreground.isDefault);
  EXPECT_GT(red.foreground.red, 128);
  EXPECT_LT(red.foreground.green, 100);

  TypeText(QStringLiteral("sleep 100"));
  PressKey(Qt::Key_Return);
  QTest::qWait(300);
  PressKey(Qt::Key_C, Qt::ControlModifier);
  TypeText(QStringLiteral("echo after"));
  PressKey(Qt::Key_Return);
  EXPECT_TRUE(testing::WaitUntil([&] { return RowOf(screen, "after") >= 0; }));
  TypeText(QStringLiteral("exit"));
  PressKey(Qt::Key_Return);
  EXPECT_TRUE(shell.waitForFinished(5000));
}

}  // namespace
}  // namespace portprobe
