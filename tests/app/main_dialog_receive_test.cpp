#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QScrollBar>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/tools_menu.h"
#include "app/dialog_test_support.h"
#include "ui/plain_text_view.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

class Receiving : public testing::ConnectedWindowTest {
 protected:
  std::string ReceiveText() const { return std::string(dialog_.ReceiveText()); }
  QString Box() const { return dialog_.ControlText(kReceiveBox); }
};

TEST_F(Receiving, ShowsWhatArrivesInHexAndCountsEveryByte) {
  EXPECT_EQ(Box(), QStringLiteral("Receiving Area"));
  EXPECT_EQ(ReceiveText(), "");
  std::vector<std::uint8_t> twenty(20);
  for (std::uint8_t i = 0; i < 20; ++i) twenty[i] = i;
  pty_.Write(twenty);
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 20);
  EXPECT_EQ(ReceiveText(), "00 01 02 03 04 05 06 07   08 09 0A 0B 0C 0D 0E 0F \r\n10 11 12 13 ");
  EXPECT_EQ(Box().toStdString(), ReceiveText());
  EXPECT_EQ(dialog_.Label(kRxLabel)->text(), QStringLiteral("RX:20"));

  // After a clear, a batch that comes after a pause starts at the top, on a fresh line.
  dialog_.Button(kClearReceiveButton)->click();
  EXPECT_EQ(Box(), QString());
  QTest::qWait(120);
  pty_.Write("AB");
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 22);
  EXPECT_EQ(ReceiveText(), "41 42 ");
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

// Pauses are measured when the bytes are read, not when the window shows them.
TEST_F(Receiving, BatchesThatQueueUpWhileTheWindowIsBusyKeepTheirPauses) {
  for (const char* piece : {"AB", "CD", "EF"}) {
    pty_.Write(piece);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 6);
  EXPECT_EQ(ReceiveText(), "41 42 \r\n    \r\n43 44 \r\n    \r\n45 46 ");
}

TEST_F(Receiving, ShowsCharactersDecodedButKeepsTheBytes) {
  dialog_.CheckBox(kHexDisplayCheck)->setChecked(false);
  pty_.Write(std::string("A\0B", 3));
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 3);
  EXPECT_EQ(Box(), QStringLiteral("AB"));
  pty_.Write("\xE4\xB8");
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 5);
  pty_.Write("\xAD\r\nI\xFF");
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 10);
  EXPECT_EQ(Box(), QStringLiteral("AB中\r\nI\uFFFD"));
  EXPECT_EQ(ReceiveText(), "AB\xE4\xB8\xAD\r\nI\xFF");
  EXPECT_EQ(dialog_.ReceiveBox()->Text().LineCount(), 2u);
}

TEST_F(Receiving, PrintToReceiveBoxAppendsTextsUnchangedInOrder) {
  pty_.Write("\x01");
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), 1);
  for (const char* text : {"start\r\n", "a=", "1", "\r\nend"}) PrintToReceiveBox(text);
  EXPECT_EQ(ReceiveText(), "01 start\r\na=1\r\nend");
}

// The user reads, selects and copies received text with keys, but never changes it;
// while they look further up, new data does not pull the view away.
TEST_F(Receiving, KeysNeverChangeReceivedTextAndTheViewStaysWhereTheUserReads) {
  testing::ShowActive(dialog_);
  dialog_.CheckBox(kHexDisplayCheck)->setChecked(false);
  std::string lines = "255\r\n";
  for (int n = 0; n < 200; ++n) lines += "line " + std::to_string(n) + "\r\n";
  pty_.Write(lines);
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), static_cast<std::int64_t>(lines.size()));
  ui::PlainTextView* box = dialog_.ReceiveBox();
  QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_EQ(QApplication::focusWidget(), box);

  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  testing::TypeText(QStringLiteral("typed"));
  for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Escape}) testing::PressKey(key);
  testing::PressKey(Qt::Key_V, Qt::ControlModifier);
  testing::PressKey(Qt::Key_A, Qt::ControlModifier);
  testing::PressKey(Qt::Key_X, Qt::ControlModifier);
  testing::PressKey(Qt::Key_Delete);
  EXPECT_EQ(ReceiveText(), lines);
  EXPECT_TRUE(dialog_.isVisible());
  testing::PressKey(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), lines);

  // The tools menu works on a selection made with keys.
  testing::PressKey(Qt::Key_Home, Qt::ControlModifier);
  testing::PressKey(Qt::Key_End, Qt::ShiftModifier);
  prompter_.menuChoices.push_back(tools::kDecimalToHex);
  QTest::mouseClick(&dialog_, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(prompter_.messages, QStringList{QStringLiteral("FF")});

  // Scrolled up, the view stays; back at the end it follows again, and after a clear.
  QScrollBar* scroll = box->verticalScrollBar();
  EXPECT_EQ(scroll->value(), 0);
  const auto arrive = [&](const std::string& text) {
    const std::int64_t before = dialog_.RxCount();
    pty_.Write(text);
    EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), before + static_cast<std::int64_t>(text.size()));
  };
  arrive(lines);
  EXPECT_EQ(scroll->value(), 0);
  testing::PressKey(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(scroll->value(), scroll->maximum());
  arrive(lines);
  EXPECT_EQ(scroll->value(), scroll->maximum());
  testing::PressKey(Qt::Key_PageUp);
  EXPECT_LT(scroll->value(), scroll->maximum());
  dialog_.Button(kClearReceiveButton)->click();
  arrive(lines);
  EXPECT_GT(scroll->maximum(), 0);
  EXPECT_EQ(scroll->value(), scroll->maximum());
}

TEST(PrintToReceiveBox, DoesNothingWithoutAWindow) { PrintToReceiveBox("nobody listens"); }

}  // namespace
}  // namespace portprobe
