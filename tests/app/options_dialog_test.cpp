#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/dialog_test_support.h"
#include "app/tools_menu.h"
#include "app/options_dialog.h"

namespace portprobe {
namespace {

using namespace resources;

class PreferenceEntries : public testing::ConnectedWindowTest {
 protected:
  void ChooseTool(int id) { testing::ChooseTool(dialog_, prompter_, id); }
  QString Status() const { return dialog_.Label(kStatusLabel)->text(); }
  QString OpenStatus() const { return QString::fromStdString(pty_.SlavePath()) + QStringLiteral(" OPENED,9600,N,8,1"); }
  // The ticked entries of the tools menu.
  QStringList Ticked() {
    ChooseTool(-1);
    return prompter_.tickedEntries.back();
  }
};

TEST_F(PreferenceEntries, TheTogglesSwitchTheirPreferenceAndShowOnTheStatusLine) {
  EXPECT_EQ(Status(), OpenStatus());
  // 自动重连, RTS and DTR are on from the start.
  const QStringList lines{QStringLiteral("RTS"), QStringLiteral("DTR")};
  EXPECT_EQ(Ticked(), QStringList{QStringLiteral("自动重连")} + lines);
  ChooseTool(tools::kTimestamps);
  EXPECT_TRUE(dialog_.CurrentPreferences().timestamps);
  EXPECT_EQ(Status(), OpenStatus() + QStringLiteral(" 时间戳"));
  ChooseTool(tools::kEchoSent);
  EXPECT_TRUE(dialog_.CurrentPreferences().echoSent);
  EXPECT_EQ(Status(), OpenStatus() + QStringLiteral(" 时间戳 回显"));
  EXPECT_EQ(Ticked(), (QStringList{QStringLiteral("自动重连"), QStringLiteral("时间戳"), QStringLiteral("显示发送")} + lines));
  ChooseTool(tools::kTimestamps);
  EXPECT_FALSE(dialog_.CurrentPreferences().timestamps);
  EXPECT_EQ(Status(), OpenStatus() + QStringLiteral(" 回显"));
  // Nothing else changed by the toggles.
  Preferences expected;
  expected.echoSent = true;
  EXPECT_EQ(dialog_.CurrentPreferences(), expected);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(PreferenceEntries, TheOptionsDialogTakesItsChoicesOnlyOnOkWithAGapInRange) {
  prompter_.whileDialogShows = [&](QDialog& shown) {
    auto& dialog = dynamic_cast<OptionsDialog&>(shown);
    EXPECT_EQ(dialog.ComboBox(kEncodingList)->currentText(), QStringLiteral("UTF-8"));
    EXPECT_EQ(dialog.ComboBox(kLineEndList)->currentText(), QStringLiteral("无"));
    EXPECT_EQ(dialog.ComboBox(kFlowControlList)->currentText(), QStringLiteral("无"));
    EXPECT_EQ(dialog.Edit(kFrameGapEdit)->text(), QStringLiteral("100"));
    testing::Choose(dialog.ComboBox(kEncodingList), 1);
    testing::Choose(dialog.ComboBox(kLineEndList), 3);
    testing::Choose(dialog.ComboBox(kFlowControlList), 2);
    for (const char* bad : {"0", "10001", "12ms", ""}) {
      dialog.Edit(kFrameGapEdit)->setText(QString::fromUtf8(bad));
      dialog.Button(kOptionsOkButton)->click();
      EXPECT_EQ(dialog.result(), QDialog::Rejected) << bad;
      EXPECT_EQ(dialog.Edit(kFrameGapEdit)->text(), QString::fromUtf8(bad));  // what was typed stays
      EXPECT_EQ(dialog.ComboBox(kLineEndList)->currentIndex(), 3);
    }
    dialog.Edit(kFrameGapEdit)->setText(QStringLiteral("250"));
    dialog.Button(kOptionsOkButton)->click();
  };
  ChooseTool(tools::kOptions);
  EXPECT_EQ(prompter_.dialogs, QStringList{QStringLiteral("选项")});
  EXPECT_EQ(prompter_.messages, QStringList(4, QStringLiteral("帧间隔请填入一个在1和10000之间的整数(毫秒)。")));
  Preferences expected;
  expected.encoding = TextEncoding::Gb18030;
  expected.lineEnd = SendLineEnd::CrLf;
  expected.flowControl = FlowControl::XonXoff;
  expected.frameGapMilliseconds = 250;
  EXPECT_EQ(dialog_.CurrentPreferences(), expected);
  EXPECT_EQ(Status(), OpenStatus() + QStringLiteral(" GB18030 间隔250ms"));

  // Cancel, or a dialog closed otherwise, changes nothing; the dialog shows what holds.
  prompter_.whileDialogShows = [&](QDialog& shown) {
    auto& dialog = dynamic_cast<OptionsDialog&>(shown);
    EXPECT_EQ(dialog.ComboBox(kEncodingList)->currentText(), QStringLiteral("GB18030"));
    EXPECT_EQ(dialog.ComboBox(kLineEndList)->currentText(), QStringLiteral("CR LF"));
    EXPECT_EQ(dialog.Edit(kFrameGapEdit)->text(), QStringLiteral("250"));
    testing::Choose(dialog.ComboBox(kEncodingList), 0);
    dialog.Edit(kFrameGapEdit)->setText(QStringLiteral("1"));
    dialog.Button(kOptionsCancelButton)->click();
  };
  ChooseTool(tools::kOptions);
  EXPECT_EQ(dialog_.CurrentPreferences(), expected);
  EXPECT_EQ(prompter_.dialogs.size(), 2);
}

// Enter in the dialog is its OK, with the same check of the gap.
TEST_F(PreferenceEntries, EnterInTheOptionsDialogIsItsOk) {
  prompter_.whileDialogShows = [&](QDialog& dialog) {
    testing::ShowActive(dialog);
    auto& options = dynamic_cast<OptionsDialog&>(dialog);
    QTest::mouseClick(options.Edit(kFrameGapEdit), Qt::LeftButton);
    testing::PressKey(Qt::Key_A, Qt::ControlModifier);
    testing::TypeText(QStringLiteral("5x"));
    testing::PressKey(Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    testing::PressKey(Qt::Key_End);
    testing::PressKey(Qt::Key_Backspace);
    testing::PressKey(Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
  };
  ChooseTool(tools::kOptions);
  EXPECT_EQ(prompter_.messages.size(), 1);
  EXPECT_EQ(dialog_.CurrentPreferences().frameGapMilliseconds, 5);
  EXPECT_EQ(Status(), OpenStatus() + QStringLiteral(" 间隔5ms"));
}

}  // namespace
}  // namespace portprobe
