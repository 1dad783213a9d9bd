#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <gtest/gtest.h>

#include "app/dialog_test_support.h"
#include "ui/combo_box_rows.h"
#include "ui/elided_label.h"

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
  const QRect rx = dialog.Control(kRxLabel)->geometry();
  const QRect sendFileLabel = dialog.Control(kSendFileLabel)->geometry();
  const QRect hexDisplay = dialog.Control(kHexDisplayCheck)->geometry();
  EXPECT_EQ(dialog.minimumSize(), start);

  dialog.resize(start + QSize(90, 61));
  EXPECT_EQ(dialog.Control(kReceiveBox)->geometry(), receive.adjusted(0, 0, 90, 40));
  EXPECT_EQ(dialog.Control(kSendBox)->geometry(), send.adjusted(0, 40, 90, 61));
  EXPECT_EQ(dialog.Control(kManualSendButton)->geometry(), sendButton.translated(0, 61));
  // The status line takes the width the row gains; the rest of its row keeps to the right edge.
  EXPECT_EQ(dialog.Control(kStatusLabel)->geometry(), status.adjusted(0, 61, 90, 61));
  EXPECT_EQ(dialog.Control(kRxLabel)->geometry(), rx.translated(90, 61));
  EXPECT_EQ(dialog.Control(kSendFileLabel)->geometry(), sendFileLabel.translated(90, 61));
  EXPECT_EQ(dialog.Control(kHexDisplayCheck)->geometry(), hexDisplay);

  // Back to the start-up size, and a smaller one is refused.
  dialog.resize(start);
  EXPECT_EQ(dialog.Control(kReceiveBox)->geometry(), receive);
  dialog.resize(start - QSize(50, 50));
  EXPECT_EQ(dialog.size(), start);
  EXPECT_EQ(dialog.Control(kSendBox)->geometry(), send);
}

// At the default size the port box and the capture label read from their start.
TEST(MainDialogLayout, LongPathsAreReadableAtTheDefaultSize) {
  testing::ScriptedPrompter prompter;
  const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  MainDialog dialog(prompter, testing::PortsFirst({byId}));
  dialog.show();
  EXPECT_EQ(dialog.ComboBox(kPortList)->lineEdit()->cursorPosition(), 0);

  testing::TempDir folder;
  const std::string capture = folder.File("一个很长的文件夹名字/another-rather-long-name/capture.txt");
  prompter.saveAnswers.push_back(QString::fromStdString(capture));
  dialog.CheckBox(kCaptureCheck)->click();
  dialog.Button(kChangeCaptureButton)->click();
  const auto* label = static_cast<const ui::ElidedLabel*>(dialog.Label(kCaptureLabel));
  EXPECT_EQ(label->toolTip(), QString::fromStdString(capture));
  EXPECT_TRUE(label->ShownText().startsWith(QStringLiteral("/"))) << label->ShownText().toStdString();
  EXPECT_TRUE(label->ShownText().endsWith(QStringLiteral(".txt")));
  EXPECT_TRUE(label->ShownText().contains(QStringLiteral("…")));

  // The closed checksum box tells every row apart in its narrow box.
  QComboBox* checksums = dialog.ComboBox(kChecksumList);
  QStyleOptionComboBox option;
  option.initFrom(checksums);
  const int room =
      checksums->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, checksums).width();
  QSet<QString> shown;
  for (int row = 0; row < checksums->count(); ++row) {
    const QString text = checksums->itemData(row, ui::kShortTextRole).toString();
    EXPECT_LE(checksums->fontMetrics().horizontalAdvance(text), room) << text.toStdString();
    shown.insert(text);
  }
  EXPECT_EQ(shown.size(), checksums->count());
}

// A count of ten digits (2^31, 2^32 - 1) shows whole at the default size: its label
// takes room from the status line, and gives it back once the count is short again.
TEST(MainDialogLayout, TheCountersShowEveryDigit) {
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({}));
  dialog.show();
  const QRect status = dialog.Control(kStatusLabel)->geometry();
  const QRect tx = dialog.Control(kTxLabel)->geometry();
  QLabel* rxLabel = dialog.Label(kRxLabel);
  QLabel* txLabel = dialog.Label(kTxLabel);
  rxLabel->setText(QStringLiteral("RX:2147483648"));
  txLabel->setText(QStringLiteral("TX:4294967295"));
  dialog.resize(dialog.size() + QSize(0, 1));  // laid out again, as the counters are
  for (const QLabel* label : {rxLabel, txLabel}) {
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
  }
  EXPECT_EQ(txLabel->geometry().right(), tx.right());
  EXPECT_EQ(rxLabel->geometry().right() + 1, txLabel->geometry().left());
  EXPECT_EQ(dialog.Control(kStatusLabel)->geometry().right() + 1, rxLabel->geometry().left());
  EXPECT_LT(dialog.Control(kStatusLabel)->geometry().width(), status.width());

  dialog.Button(kResetCountersButton)->click();
  EXPECT_EQ(rxLabel->text(), QStringLiteral("RX:0"));
  EXPECT_EQ(dialog.Control(kStatusLabel)->geometry().width(), status.width());
}

TEST(MainDialogLayout, ControlsHaveTheirTextColoursWhileEnabled) {
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({}));
  EXPECT_EQ(dialog.Control(kSendBox)->palette().color(QPalette::Text), QColor(0, 0, 180));
  EXPECT_EQ(dialog.Label(kRxLabel)->palette().color(QPalette::WindowText), QColor(0, 0, 180));
  EXPECT_EQ(dialog.Control(kAutoSendCheck)->palette().color(QPalette::WindowText), QColor(50, 50, 150));
  EXPECT_EQ(dialog.Label(kCaptureLabel)->palette().color(QPalette::WindowText), QColor(128, 0, 0));
  EXPECT_NE(dialog.Button(kMenuButton)->palette().color(QPalette::ButtonText), QColor(0, 0, 180));
  // A disabled button is drawn in the style's disabled colour, like any other.
  QPushButton* clearSend = dialog.Button(kClearSendButton);
  EXPECT_EQ(clearSend->palette().color(QPalette::Inactive, QPalette::ButtonText), QColor(0, 0, 180));
  EXPECT_EQ(clearSend->palette().color(QPalette::Disabled, QPalette::ButtonText),
            dialog.Button(kMenuButton)->palette().color(QPalette::Disabled, QPalette::ButtonText));
  EXPECT_NE(clearSend->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor(0, 0, 180));
}

TEST(MainDialogLayout, TheStatusLineAndTheListsReadWhole) {
  testing::ScriptedPrompter prompter;
  const std::string longPath = "/dev/serial/by-id/usb-Example_Adapter_0123456789-if00-port0";
  MainDialog dialog(prompter, testing::PortsFirst({longPath}));
  testing::ShowActive(dialog);
  QLabel* status = dialog.Label(kStatusLabel);
  // A failed open keeps the chosen line settings on the status line.
  const QString full = QString::fromStdString(longPath) + QStringLiteral(" CLOSED,9600,N,8,1");
  EXPECT_EQ(status->text(), full);
  EXPECT_EQ(status->toolTip(), full);
  // Never wider than its place before "RX:", with both ends of the text in sight.
  EXPECT_LE(status->geometry().right(), dialog.Control(kRxLabel)->geometry().left());
  // Only the path loses its middle, never the state and the settings.
  const auto* elided = static_cast<const ui::ElidedLabel*>(status);
  EXPECT_TRUE(elided->ShownText().startsWith(QStringLiteral("/"))) << elided->ShownText().toStdString();
  EXPECT_TRUE(elided->ShownText().contains(QStringLiteral("…")));
  EXPECT_TRUE(elided->ShownText().endsWith(QStringLiteral(" CLOSED,9600,N,8,1"))) << elided->ShownText().toStdString();
  dialog.resize(dialog.size() + QSize(400, 0));
  EXPECT_EQ(elided->ShownText(), full);
  EXPECT_LE(status->geometry().right(), dialog.Control(kRxLabel)->geometry().left());

  // The checksum list only offers its rows, and its drop-down shows them whole.
  QComboBox* checksums = dialog.ComboBox(kChecksumList);
  EXPECT_FALSE(checksums->isEditable());
  for (QComboBox* list : {checksums, dialog.ComboBox(kPortList)}) {
    int longest = 0;
    for (int row = 0; row < list->count(); ++row) {
      longest = std::max(longest, list->view()->fontMetrics().horizontalAdvance(list->itemText(row)));
    }
    list->showPopup();
    EXPECT_GT(list->view()->viewport()->width(), longest) << list->itemText(0).toStdString();
    list->hidePopup();
  }
}

}  // namespace
}  // namespace portprobe
