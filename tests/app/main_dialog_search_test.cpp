// The find bar of the receive box and the zoom of both boxes, driven by keys, clicks
// and wheel turns as the user's arrive.
#include <QApplication>
#include <QCheckBox>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <numeric>

#include "app/dialog_test_support.h"
#include "codec/hex_format.h"
#include "resources/strings.h"
#include "support/wait.h"
#include "ui/find_bar.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::PressKey;

constexpr std::string_view kBlockSeparator = "\r\n    \r\n";

std::string Layout(std::vector<std::uint8_t> bytes) { return FormatHexBytes(bytes); }

std::vector<std::uint8_t> Counting(int first, int count) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  std::iota(bytes.begin(), bytes.end(), static_cast<std::uint8_t>(first));
  return bytes;
}

class SearchTest : public testing::ConnectedWindowTest {
 protected:
  SearchTest() { testing::ShowActive(dialog_); }

  ui::FindBar* Bar() { return dialog_.findChild<ui::FindBar*>(); }
  ui::PlainTextView* Box() { return dialog_.ReceiveBox(); }
  std::string Selected() { return Box()->SelectedText().toStdString(); }
  QString Outcome() { return Bar()->Outcome(); }
  QToolButton* BarButton(const char* text) {
    for (QToolButton* button : Bar()->findChildren<QToolButton*>()) {
      if (button->text() == QString::fromUtf8(text)) return button;
    }
    return nullptr;
  }
  // A click at the start of the box puts the caret there, as a user begins a search.
  void ClickAtStartOfReceiveBox() { QTest::mouseClick(Box()->viewport(), Qt::LeftButton, {}, QPoint(1, 2)); }
  // Ctrl+F wherever the focus is, the pattern typed over what the field held.
  void TypePattern(const QString& pattern) {
    PressKey(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Bar()->isVisible());
    PressKey(Qt::Key_Backspace);
    testing::TypeText(pattern);
  }
  // Pixels of the box painted in the colour that marks matches.
  int MarkedPixels() {
    const QImage image = Box()->viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == QColor(255, 214, 90);
    }
    return count;
  }
};

TEST_F(SearchTest, FindsHexBytesAcrossLineBreaksAndBlocksAndWrapsAround) {
  // 0F 10 stand around a line break in the first block and side by side in the second.
  const std::string first = Layout(Counting(0, 24));
  const std::string text = first + std::string(kBlockSeparator) + Layout({0x0F, 0x10, 0x55});
  dialog_.AppendReceiveText(text);
  ClickAtStartOfReceiveBox();
  TypePattern("0F 10");
  EXPECT_EQ(QApplication::focusWidget()->parentWidget(), Bar()) << "the field has the keys";
  EXPECT_GT(MarkedPixels(), 0) << "matches in sight are marked as the pattern is typed";
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Selected(), "0F \r\n10");
  EXPECT_EQ(Box()->Anchor(), first.find("0F"));
  EXPECT_EQ(Outcome(), "");
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Selected(), "0F 10");
  EXPECT_EQ(Box()->Anchor(), text.rfind("0F"));
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Box()->Anchor(), first.find("0F"));
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindWrappedToStartText));
  PressKey(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Box()->Anchor(), text.rfind("0F"));
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindWrappedToEndText));

  TypePattern("17 0f");
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Selected(), "17   \r\n    \r\n0F") << "the match reaches over the block separator";

  TypePattern("77 88");
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindNotFoundText));
  EXPECT_EQ(Selected(), "17   \r\n    \r\n0F") << "a miss leaves the selection";
  TypePattern("0F 1");
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindBadHexText));
  EXPECT_TRUE(prompter_.messages.isEmpty()) << "no message box for a miss or a bad pattern";

  PressKey(Qt::Key_Escape);
  EXPECT_FALSE(Bar()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Box());
  EXPECT_EQ(MarkedPixels(), 0) << "a closed bar marks nothing";
  // F3 goes on with the last pattern from the receive box.
  TypePattern("55");
  PressKey(Qt::Key_Escape);
  PressKey(Qt::Key_F3);
  EXPECT_EQ(Selected(), "55");
  PressKey(Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "55");
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindWrappedToEndText));
  // Escape in the receive box closes the bar as well, and keeps the window.
  ClickAtStartOfReceiveBox();
  PressKey(Qt::Key_Escape);
  EXPECT_FALSE(Bar()->isVisible());
  EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(SearchTest, FindsTextWithOrWithoutCaseAndHexBytesAsRawCharacters) {
  QTest::mouseClick(dialog_.CheckBox(kHexDisplayCheck), Qt::LeftButton);
  ASSERT_FALSE(dialog_.CheckBox(kHexDisplayCheck)->isChecked());
  const std::string text = "Temp OK\r\nok 温度\r\n";
  dialog_.AppendReceiveText(text);
  ClickAtStartOfReceiveBox();
  TypePattern("ok");
  EXPECT_FALSE(BarButton(kFindHexText)->isChecked()) << "a first opening follows the character display";
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Selected(), "OK");
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Box()->Anchor(), text.find("ok"));
  QTest::mouseClick(BarButton(kFindMatchCaseText), Qt::LeftButton);
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Box()->Anchor(), text.find("ok")) << "with case only the lower-case one matches";
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindWrappedToStartText));

  // The toggles are reached by Tab and switched by Space as well.
  PressKey(Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), BarButton(kFindHexText));
  PressKey(Qt::Key_Space);
  EXPECT_TRUE(BarButton(kFindHexText)->isChecked());
  EXPECT_FALSE(BarButton(kFindMatchCaseText)->isEnabled());
  TypePattern("4b 0d 0a 6f");
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Selected(), "K\r\no");
}

TEST_F(SearchTest, TakesAShortSelectionAsThePattern) {
  const std::string text = "AT+GMR\r\nOK\r\nAT+GMR\r\n";
  dialog_.AppendReceiveText(text);
  ClickAtStartOfReceiveBox();
  PressKey(Qt::Key_End, Qt::ShiftModifier);
  PressKey(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(Bar()->Pattern(), "AT+GMR");
  EXPECT_FALSE(BarButton(kFindHexText)->isChecked()) << "no hex bytes, though in hex display";
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Box()->Anchor(), text.rfind("AT+GMR"));
  // A selection over a line break is no pattern: the field keeps what it had.
  PressKey(Qt::Key_Escape);
  PressKey(Qt::Key_Up, Qt::ShiftModifier);
  PressKey(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(Bar()->Pattern(), "AT+GMR");
  // Hex bytes selected in hex display are looked for as bytes.
  dialog_.AppendReceiveText(Layout({0x01, 0x03, 0x10}) + "\r\n" + Layout({0x01, 0x03}));
  PressKey(Qt::Key_Escape);
  PressKey(Qt::Key_End, Qt::ControlModifier);
  for (int i = 0; i < 6; ++i) PressKey(Qt::Key_Left, Qt::ShiftModifier);
  ASSERT_EQ(Selected(), "01 03 ");
  PressKey(Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(BarButton(kFindHexText)->isChecked());
  PressKey(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "01 03");
  EXPECT_EQ(Box()->Anchor(), text.size());
}

// The selection and the search keep to the same text while the full box drops its
// oldest lines under them.
TEST_F(SearchTest, KeepsFindingAfterTheFullBoxDroppedItsOldestLines) {
  const std::string filler = Layout(std::vector<std::uint8_t>(16 * 1024, 0x00));  // 48 KiB a piece
  const std::string marker = std::string(kBlockSeparator) + Layout({0xAA, 0xBB}) + std::string(kBlockSeparator);
  const auto appendFiller = [&](std::size_t bytes) {
    for (std::size_t added = 0; added < bytes; added += filler.size()) dialog_.AppendReceiveText(filler);
  };
  appendFiller(std::size_t{4} << 20);
  dialog_.AppendReceiveText(marker);
  appendFiller(std::size_t{1} << 20);
  dialog_.AppendReceiveText(marker);
  TypePattern("AA BB");
  PressKey(Qt::Key_Return);  // the search goes on in slices while the window answers
  EXPECT_EVENTUALLY_EQ(Selected(), std::string("AA BB"));
  const std::size_t firstAt = Box()->Anchor();
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindWrappedToStartText));

  appendFiller(std::size_t{29} << 20);
  const std::size_t shiftedAt = Box()->Anchor();
  ASSERT_LT(shiftedAt, firstAt) << "the box dropped lines in front of the match";
  EXPECT_EQ(Selected(), "AA BB");
  PressKey(Qt::Key_F3);
  EXPECT_EVENTUALLY_EQ(Box()->Anchor() > shiftedAt, true);
  EXPECT_EQ(Selected(), "AA BB");
  EXPECT_EQ(Outcome(), "");
  PressKey(Qt::Key_F3);
  EXPECT_EVENTUALLY_EQ(Box()->Anchor(), shiftedAt);
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindWrappedToStartText));
}

// A long search over a full box goes on in slices after the key, and a search asked
// for while it runs replaces it.
TEST_F(SearchTest, ALongSearchRunsBetweenTheWindowsOtherWorkAndANewOneReplacesIt) {
  const std::string filler = Layout(std::vector<std::uint8_t>(16 * 1024, 0xFF));
  for (std::size_t added = 0; added < (std::size_t{12} << 20); added += filler.size()) {
    dialog_.AppendReceiveText(filler);
  }
  dialog_.AppendReceiveText(std::string(kBlockSeparator) + Layout({0x01, 0x02}));
  QString nearMatch;
  for (int i = 0; i < 100; ++i) nearMatch += QStringLiteral("FF ");
  TypePattern(nearMatch + QStringLiteral("00"));
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Outcome(), "") << "the key waited for the whole search";
  EXPECT_EVENTUALLY_EQ(Outcome(), QString::fromUtf8(kFindNotFoundText));

  PressKey(Qt::Key_Return);
  TypePattern(QStringLiteral("01 02"));
  PressKey(Qt::Key_Return);
  EXPECT_EVENTUALLY_EQ(Selected(), std::string("01 02"));
  QTest::qWait(100);  // the search it replaced says nothing more
  EXPECT_EQ(Outcome(), QString::fromUtf8(kFindWrappedToStartText));
}

class ZoomTest : public testing::ConnectedWindowTest {
 protected:
  ZoomTest() { testing::ShowActive(dialog_); }

  int ReceivePoints() { return dialog_.ReceiveBox()->font().pointSize(); }
  int SendPoints() { return dialog_.SendBox()->font().pointSize(); }
  // A wheel turn with Ctrl held over the middle of a box, to the widget under the pointer.
  void CtrlWheel(ui::PlainTextView* box, int angle) {
    const QPoint global = box->viewport()->mapToGlobal(box->viewport()->rect().center());
    QWidget* under = QApplication::widgetAt(global);
    ASSERT_EQ(under, box->viewport());
    QWheelEvent wheel(under->mapFromGlobal(global), global, QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(under, &wheel);
  }
  // Hex columns stay in line: digits and blanks are equally wide.
  static bool FixedPitch(const QWidget* box) {
    const QFontMetrics metrics(box->font());
    return metrics.horizontalAdvance(QLatin1Char('0')) == metrics.horizontalAdvance(QLatin1Char(' ')) &&
           metrics.horizontalAdvance(QLatin1Char('F')) == metrics.horizontalAdvance(QLatin1Char(' '));
  }
};

TEST_F(ZoomTest, KeysAndCtrlWheelSizeBothBoxesWithinBoundsAndAreKept) {
  const int own = dialog_.font().pointSize();
  ASSERT_EQ(ReceivePoints(), own);
  QTest::mouseClick(dialog_.SendBox()->viewport(), Qt::LeftButton);
  PressKey(Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(ReceivePoints(), own + 1);
  EXPECT_EQ(SendPoints(), own + 1);
  EXPECT_EQ(dialog_.CurrentPreferences().fontPointSize, own + 1);
  PressKey(Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(SendPoints(), own + 2);
  PressKey(Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(ReceivePoints(), own + 1);
  EXPECT_EQ(SendPoints(), own + 1);
  PressKey(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
  PressKey(Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
  PressKey(Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_EQ(SendPoints(), own) << "the keypad's + and - count as well";
  EXPECT_EQ(SendText(), "0b 03 07 00 34 12 00 00 01 01 00") << "zoom keys type nothing";
  PressKey(Qt::Key_Equal, Qt::ControlModifier);
  PressKey(Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(ReceivePoints(), own);
  EXPECT_EQ(dialog_.CurrentPreferences().fontPointSize, 0);

  CtrlWheel(dialog_.ReceiveBox(), 240);
  EXPECT_EQ(SendPoints(), own + 2);
  EXPECT_EQ(ReceivePoints(), own + 2);
  CtrlWheel(dialog_.SendBox(), -60);
  CtrlWheel(dialog_.SendBox(), -60);
  EXPECT_EQ(SendPoints(), own + 1) << "half steps of a touchpad add up";
  EXPECT_TRUE(FixedPitch(dialog_.ReceiveBox()));
  EXPECT_TRUE(FixedPitch(dialog_.SendBox()));

  Preferences preferences = dialog_.CurrentPreferences();
  preferences.fontPointSize = 47;
  dialog_.SetPreferences(preferences);
  EXPECT_EQ(ReceivePoints(), 47) << "a remembered size is applied";
  CtrlWheel(dialog_.ReceiveBox(), 360);
  EXPECT_EQ(dialog_.CurrentPreferences().fontPointSize, 48);
  preferences.fontPointSize = 7;
  dialog_.SetPreferences(preferences);
  for (int i = 0; i < 3; ++i) PressKey(Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(SendPoints(), 6);
  EXPECT_EQ(dialog_.CurrentPreferences().fontPointSize, 6);
}

TEST_F(ZoomTest, TheSizeComesBackInTheNextWindow) {
  TerminalOptions options = Options();
  options.settingsFile = folder_.File("portprobe.ini");
  const int own = dialog_.font().pointSize();
  {
    MainDialog first(prompter_, options);
    testing::ShowActive(first);
    QTest::mouseClick(first.ReceiveBox()->viewport(), Qt::LeftButton);
    PressKey(Qt::Key_Equal, Qt::ControlModifier);
    PressKey(Qt::Key_Equal, Qt::ControlModifier);
    ASSERT_EQ(first.SendBox()->font().pointSize(), own + 2);
  }
  MainDialog second(prompter_, options);
  EXPECT_EQ(second.ReceiveBox()->font().pointSize(), own + 2);
  EXPECT_EQ(second.SendBox()->font().pointSize(), own + 2);
}

}  // namespace
}  // namespace portprobe
