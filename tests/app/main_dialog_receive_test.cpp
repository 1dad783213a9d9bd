#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "support/pty_pair.h"
#include "support/scripted_prompter.h"
#include "ui/plain_text_view.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::PtyPair;
using testing::ScriptedPrompter;

// A window connected to the terminal side of a pseudo-terminal pair.
struct Connected {
  Connected() : dialog(prompter, {{pty.SlavePath()}, false}) {}

  std::string ReceiveText() const { return std::string(dialog.ReceiveText()); }
  QString Box() const { return dialog.ControlText(kReceiveBox); }
  void ShowCharacters() { dialog.CheckBox(kHexDisplayCheck)->setChecked(false); }

  PtyPair pty;
  ScriptedPrompter prompter;
  MainDialog dialog;
};

TEST(MainDialogReceive, ShowsWhatArrivesInHexAndCountsEveryByte) {
  Connected c;
  EXPECT_EQ(c.Box(), QStringLiteral("Receiving Area"));
  EXPECT_EQ(c.ReceiveText(), "");
  std::vector<std::uint8_t> twenty(20);
  for (std::uint8_t i = 0; i < 20; ++i) twenty[i] = i;
  c.pty.Write(twenty);
  QTRY_COMPARE(c.dialog.RxCount(), 20);
  EXPECT_EQ(c.ReceiveText(), "00 01 02 03 04 05 06 07   08 09 0A 0B 0C 0D 0E 0F \r\n10 11 12 13 ");
  EXPECT_EQ(c.Box().toStdString(), c.ReceiveText());
  EXPECT_EQ(c.dialog.Label(kRxLabel)->text(), QStringLiteral("RX:20"));

  // After a clear, a batch that comes after a pause starts at the top, on a fresh line.
  c.dialog.Button(kClearReceiveButton)->click();
  EXPECT_EQ(c.Box(), QString());
  QTest::qWait(120);
  c.pty.Write("AB");
  QTRY_COMPARE(c.dialog.RxCount(), 22);
  EXPECT_EQ(c.ReceiveText(), "41 42 ");
  EXPECT_TRUE(c.prompter.messages.isEmpty());
}

// Pauses are measured when the bytes are read, not when the window shows them.
TEST(MainDialogReceive, BatchesThatQueueUpWhileTheWindowIsBusyKeepTheirPauses) {
  Connected c;
  for (const char* piece : {"AB", "CD", "EF"}) {
    c.pty.Write(piece);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  QTRY_COMPARE(c.dialog.RxCount(), 6);
  EXPECT_EQ(c.ReceiveText(), "41 42 \r\n    \r\n43 44 \r\n    \r\n45 46 ");
}

TEST(MainDialogReceive, ShowsCharactersDecodedButKeepsTheBytes) {
  Connected c;
  c.ShowCharacters();
  c.pty.Write(std::string("A\0B", 3));
  QTRY_COMPARE(c.dialog.RxCount(), 3);
  EXPECT_EQ(c.Box(), QStringLiteral("AB"));
  c.pty.Write("\xE4\xB8");
  QTRY_COMPARE(c.dialog.RxCount(), 5);
  c.pty.Write("\xAD\r\nI\xFF");
  QTRY_COMPARE(c.dialog.RxCount(), 10);
  EXPECT_EQ(c.Box(), QStringLiteral("AB中\r\nI\uFFFD"));
  EXPECT_EQ(c.ReceiveText(), "AB\xE4\xB8\xAD\r\nI\xFF");
  EXPECT_EQ(c.dialog.ReceiveBox()->Text().LineCount(), 2u);
}

TEST(MainDialogReceive, PrintToReceiveBoxAppendsTextsUnchangedInOrder) {
  {
    Connected c;
    c.pty.Write("\x01");
    QTRY_COMPARE(c.dialog.RxCount(), 1);
    for (const char* text : {"start\r\n", "a=", "1", "\r\nend"}) PrintToReceiveBox(text);
    EXPECT_EQ(c.ReceiveText(), "01 start\r\na=1\r\nend");
  }
  PrintToReceiveBox("no window: nothing happens");
}

}  // namespace
}  // namespace portprobe
