#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "app/dialog_test_support.h"

namespace portprobe {
namespace {

using namespace resources;

TEST(MainDialogLayout, GrowingStretchesTheBoxesAndMovesTheBottomRow) {
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({}));
  dialog.show();
  const QSize start = dialog.size();
  const QRect receive = dialog.Control(kReceiveBox)->geometry();
  const QRect send = dialog.Control(kSendBox)->geometry();
  const QRect sendButton = dialog.Control(kManualSendButton)->geometry();
  const QRect status = dialog.Control(kStatusLabel)->geometry();
  const QRect hexDisplay = dialog.Control(kHexDisplayCheck)->geometry();
  EXPECT_EQ(dialog.minimumSize(), start);

  dialog.resize(start + QSize(90, 61));
  EXPECT_EQ(dialog.Control(kReceiveBox)->geometry(), receive.adjusted(0, 0, 90, 40));
  EXPECT_EQ(dialog.Control(kSendBox)->geometry(), send.adjusted(0, 40, 90, 61));
  EXPECT_EQ(dialog.Control(kManualSendButton)->geometry(), sendButton.translated(0, 61));
  EXPECT_EQ(dialog.Control(kStatusLabel)->geometry(), status.translated(0, 61));
  EXPECT_EQ(dialog.Control(kHexDisplayCheck)->geometry(), hexDisplay);

  // Back to the start-up size, and a smaller one is refused.
  dialog.resize(start);
  EXPECT_EQ(dialog.Control(kReceiveBox)->geometry(), receive);
  dialog.resize(start - QSize(50, 50));
  EXPECT_EQ(dialog.size(), start);
  EXPECT_EQ(dialog.Control(kSendBox)->geometry(), send);
}

TEST(MainDialogLayout, ControlsHaveTheirTextColours) {
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({}));
  EXPECT_EQ(dialog.MultiLineEdit(kSendBox)->palette().color(QPalette::Text), QColor(0, 0, 180));
  EXPECT_EQ(dialog.Label(kRxLabel)->palette().color(QPalette::WindowText), QColor(0, 0, 180));
  EXPECT_EQ(dialog.Control(kAutoSendCheck)->palette().color(QPalette::WindowText), QColor(50, 50, 150));
  EXPECT_EQ(dialog.Label(kCaptureLabel)->palette().color(QPalette::WindowText), QColor(128, 0, 0));
  EXPECT_NE(dialog.Button(kMenuButton)->palette().color(QPalette::ButtonText), QColor(0, 0, 180));
}

}  // namespace
}  // namespace portprobe
