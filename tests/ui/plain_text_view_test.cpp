#include "ui/plain_text_view.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace portprobe::ui {
namespace {

// A view of a few lines, shown so that it has a size and scroll ranges.
struct ShownView {
  explicit ShownView(std::size_t byteLimit = LineIndexedText::kDefaultByteLimit) : view(nullptr, byteLimit) {
    view.resize(300, 120);
    view.show();
  }
  std::string Text() const { return std::string(view.Text().All()); }
  bool AtBottom() const { return view.verticalScrollBar()->value() == view.verticalScrollBar()->maximum(); }
  PlainTextView view;
};

std::string NumberedLines(int from, int count) {
  std::string text;
  for (int n = from; n < from + count; ++n) text += "line " + std::to_string(n) + "\r\n";
  return text;
}

TEST(PlainTextView, AppendFollowsTheEndOnlyWhileItIsShown) {
  ShownView shown;
  PlainTextView& view = shown.view;
  view.Append(NumberedLines(0, 100));
  EXPECT_GT(view.verticalScrollBar()->maximum(), 0);
  EXPECT_TRUE(shown.AtBottom());
  EXPECT_EQ(view.Caret(), view.Text().Size());

  // A selection made up in the text keeps the view there while text comes in.
  view.SetSelection(8, 14);
  EXPECT_EQ(view.SelectedText(), QStringLiteral("line 1"));
  const int top = view.verticalScrollBar()->value();
  view.Append(NumberedLines(100, 50));
  EXPECT_EQ(view.SelectedText(), QStringLiteral("line 1"));
  EXPECT_EQ(view.verticalScrollBar()->value(), top);

  // Back at the end, the view follows again; the selection stays.
  view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
  view.Append(NumberedLines(150, 50));
  EXPECT_TRUE(shown.AtBottom());
  EXPECT_EQ(view.SelectedText(), QStringLiteral("line 1"));
}

// A bar laid over the bottom of the view takes lines from sight, never the end.
TEST(PlainTextView, AReservedBottomStripKeepsTheEndInSight) {
  ShownView shown;
  PlainTextView& view = shown.view;
  view.Append(NumberedLines(0, 100));
  const int maximum = view.verticalScrollBar()->maximum();
  view.ReserveBottom(40);
  EXPECT_GT(view.verticalScrollBar()->maximum(), maximum);
  EXPECT_TRUE(shown.AtBottom());
  EXPECT_LE(view.viewport()->geometry().bottom(), view.height() - 40);
  view.ReserveBottom(0);
  EXPECT_EQ(view.verticalScrollBar()->maximum(), maximum);
}

// Ctrl with the wheel asks for zoom in whole steps and does not scroll.
TEST(PlainTextView, CtrlWheelAsksForZoomInWholeSteps) {
  ShownView shown;
  PlainTextView& view = shown.view;
  view.Append(NumberedLines(0, 100));
  view.verticalScrollBar()->setValue(10);
  QSignalSpy zoom(&view, &PlainTextView::ZoomStepped);
  const auto turn = [&](int angle, Qt::KeyboardModifiers modifiers) {
    const QPointF at = view.viewport()->rect().center();
    QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
  };
  turn(-240, Qt::ControlModifier);
  turn(40, Qt::ControlModifier);
  turn(40, Qt::ControlModifier);
  turn(40, Qt::ControlModifier);
  ASSERT_EQ(zoom.count(), 2);
  EXPECT_EQ(zoom[0][0].toInt(), -2);
  EXPECT_EQ(zoom[1][0].toInt(), 1);
  EXPECT_EQ(view.verticalScrollBar()->value(), 10);
  turn(-120, Qt::NoModifier);
  EXPECT_GT(view.verticalScrollBar()->value(), 10) << "without Ctrl the wheel scrolls";
  EXPECT_EQ(zoom.count(), 2);
}

TEST(PlainTextView, AReadOnlyViewSelectsAndCopiesButKeysNeverChangeIt) {
  ShownView shown;
  PlainTextView& view = shown.view;
  QSignalSpy edited(&view, &PlainTextView::Edited);
  view.SetReadOnly(true);
  view.SetText("ab\r\ncd");
  view.setFocus();
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  QTest::keyClicks(&view, "xy");
  for (int key : {Qt::Key_Backspace, Qt::Key_Delete}) QTest::keyClick(&view, static_cast<Qt::Key>(key));
  QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
  QInputMethodEvent composed;
  composed.setCommitString(QStringLiteral("中"));
  QApplication::sendEvent(&view, &composed);
  QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(shown.Text(), "ab\r\ncd");
  EXPECT_EQ(edited.count(), 0);
  EXPECT_EQ(view.SelectedText(), QStringLiteral("ab\r\ncd"));
  QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ab\r\ncd"));
  QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(view.SelectedText(), QStringLiteral("a"));
}

TEST(PlainTextView, TheSelectionStaysOnItsTextWhenOldLinesAreDropped) {
  ShownView shown(4096 + 200);
  PlainTextView& view = shown.view;
  view.Append(NumberedLines(0, 300));
  const std::size_t start = view.Text().LineStart(view.Text().LineCount() - 3);
  view.SetSelection(start, start + 8);
  const QString selected = view.SelectedText();
  view.Append(NumberedLines(300, 300));
  EXPECT_LE(view.Text().Size(), 4096u + 200);
  EXPECT_EQ(view.SelectedText(), selected);
  EXPECT_TRUE(shown.Text().starts_with("line "));
}

TEST(PlainTextView, ShowsRawBytesAsTextAndKeepsThemForSaving) {
  ShownView shown;
  PlainTextView& view = shown.view;
  view.Append("\xE4\xB8");  // one character in two appends
  view.Append("\xAD|\xFF|");
  EXPECT_EQ(view.ToPlainText(), QStringLiteral("中|\uFFFD|"));
  EXPECT_EQ(shown.Text(), "\xE4\xB8\xAD|\xFF|");
  view.SelectAll();
  view.Copy();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("中|\uFFFD|"));
}

TEST(PlainTextView, TheUserTypesDeletesAndPastesAtTheCaret) {
  ShownView shown;
  PlainTextView& view = shown.view;
  QSignalSpy edited(&view, &PlainTextView::Edited);
  view.SetText("ab\r\ncd");
  EXPECT_EQ(edited.count(), 0);
  view.setFocus();

  view.SetSelection(4, 4);
  QTest::keyClick(&view, Qt::Key_Backspace);  // steps over CR LF as one break
  EXPECT_EQ(shown.Text(), "abcd");
  QTest::keyClicks(&view, "X");
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("中"));
  QApplication::sendEvent(&view, &typed);
  EXPECT_EQ(shown.Text(), "abX中cd");
  view.SetSelection(0, 2);
  QTest::keyClick(&view, Qt::Key_Delete);
  EXPECT_EQ(shown.Text(), "X中cd");
  QApplication::clipboard()->setText(QStringLiteral("1\r\n2"));
  QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(shown.Text(), "1\r\n2X中cd");
  EXPECT_EQ(view.Text().LineCount(), 2u);
  EXPECT_GE(edited.count(), 4);

  // Enter and Escape belong to the dialog.
  for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&view, &press);
    EXPECT_FALSE(press.isAccepted());
  }
  EXPECT_EQ(shown.Text(), "1\r\n2X中cd");
}

TEST(PlainTextView, UndoAndRedoTakeBackTheUsersEditsOnly) {
  ShownView shown;
  PlainTextView& view = shown.view;
  view.SetText("start ");
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(&view, "ab");
  QApplication::clipboard()->setText(QStringLiteral("XYZ12"));
  QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_Backspace);
  EXPECT_EQ(shown.Text(), "start abXYZ1");
  QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(shown.Text(), "start abXYZ12");
  QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(shown.Text(), "start ab");
  QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);  // the text that was set stays
  EXPECT_EQ(shown.Text(), "start ");
  QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(shown.Text(), "start ab");
  EXPECT_EQ(view.Caret(), 8u);
  view.SetText("new");
  QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(shown.Text(), "new");
}

TEST(PlainTextView, TheCaretMovesByCharactersAndLines) {
  ShownView shown;
  PlainTextView& view = shown.view;
  view.SetText("ab中\r\nxyzw\r\n");
  view.setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(&view, Qt::Key_Right);
  EXPECT_EQ(view.Caret(), 5u);
  QTest::keyClick(&view, Qt::Key_Right);
  EXPECT_EQ(view.Caret(), 7u);
  QTest::keyClick(&view, Qt::Key_Left);
  EXPECT_EQ(view.Caret(), 5u);
  QTest::keyClick(&view, Qt::Key_Down);
  EXPECT_EQ(view.Text().LineOf(view.Caret()), 1u);
  QTest::keyClick(&view, Qt::Key_End);
  EXPECT_EQ(view.Caret(), 11u);
  QTest::keyClick(&view, Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(view.SelectedText(), QStringLiteral("xyzw"));
  QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(view.Caret(), view.Text().Size());
  EXPECT_FALSE(view.HasSelection());
}

TEST(PlainTextView, ADoubleClickSelectsOneHexByte) {
  ShownView shown;
  PlainTextView& view = shown.view;
  view.SetText("41 42 43 ");
  const QFontMetrics metrics(view.font());
  const QPoint onSecondByte(3 + metrics.horizontalAdvance(QStringLiteral("41 4")), metrics.height() / 2);
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, onSecondByte);
  EXPECT_EQ(view.SelectedText(), QStringLiteral("42"));
}

}  // namespace
}  // namespace portprobe::ui
