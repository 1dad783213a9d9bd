#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/dialog_test_support.h"
#include "app/history_popup.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::Choose;

class HistoryTest : public testing::ConnectedWindowTest {
 protected:
  QComboBox* History() { return dialog_.ComboBox(kHistoryList); }
  void Add(const QString& text) {
    SetSendText(text);
    Click(kAddHistoryButton);
  }
  QStringList Rows() {
    QStringList rows;
    for (int i = 0; i < History()->count(); ++i) rows << History()->itemText(i);
    return rows;
  }
  HistoryPopup* Popup() { return dialog_.HistoryPopupWindow(); }
};

TEST_F(HistoryTest, AddsEachTextOnceAndPicksEntriesWithoutTheirLabel) {
  Add(QString());
  EXPECT_EQ(History()->count(), 0);
  Add(QStringLiteral("AT"));
  Add(QStringLiteral("at"));
  Add(QStringLiteral("AT"));
  Add(QStringLiteral("<reset>01 02"));
  EXPECT_EQ(Rows(), (QStringList{"AT", "at", "<reset>01 02"}));
  EXPECT_EQ(History()->currentIndex(), 2);

  Choose(History(), 0);
  EXPECT_EQ(SendText(), QStringLiteral("AT"));
  Choose(History(), 2);
  EXPECT_EQ(SendText(), QStringLiteral("01 02"));
  EXPECT_EQ(pty_.Read(1, 50).size(), 0u);  // choosing sends nothing

  // Longer than an entry holds: refused, and said so.
  Add(QString(1024, QLatin1Char('x')));
  EXPECT_EQ(History()->count(), 3);
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_TRUE(prompter_.messages[0].contains(QStringLiteral("1023")));

  Click(kClearHistoryButton);
  EXPECT_EQ(History()->count(), 0);
  EXPECT_TRUE(History()->currentText().isEmpty());
}

TEST_F(HistoryTest, ExportsAndImportsFilesByteForByte) {
  Add(QStringLiteral("<reset>01 02"));
  Add(QStringLiteral("AB\nCD"));
  prompter_.saveAnswers = {QString::fromStdString(folder_.File("h.txt"))};
  Click(kExportHistoryButton);
  EXPECT_EQ(testing::ReadFile(folder_.File("h.txt")), "<reset>01 02\r\nAB\r\nCD\r\n");
  ASSERT_EQ(prompter_.saveRequests.size(), 1u);
  EXPECT_EQ(prompter_.saveRequests[0].defaultFileName, QStringLiteral("history.txt"));
  EXPECT_EQ(prompter_.saveRequests[0].defaultExtension, QStringLiteral("txt"));

  // Bytes that are no UTF-8 survive a round trip through the list.
  folder_.WriteFile("in.txt", "\xB2\xE2\xCA\xD4\r\nAA\r\n");
  prompter_.openAnswers = {QString::fromStdString(folder_.File("in.txt"))};
  Click(kImportHistoryButton);
  EXPECT_EQ(History()->count(), 2);
  EXPECT_EQ(History()->currentIndex(), 0);
  prompter_.saveAnswers = {QString::fromStdString(folder_.File("out.txt"))};
  Click(kExportHistoryButton);
  EXPECT_EQ(testing::ReadFile(folder_.File("out.txt")), "\xB2\xE2\xCA\xD4\r\nAA\r\n");

  // A folder or a missing file leaves the list as it is; an empty file empties it.
  prompter_.openAnswers = {QString::fromStdString(folder_.Path().string()),
                           QString::fromStdString(folder_.File("missing.txt")),
                           QString::fromStdString(folder_.WriteFile("empty.txt", ""))};
  Click(kImportHistoryButton);
  Click(kImportHistoryButton);
  EXPECT_EQ(History()->count(), 2);
  Click(kImportHistoryButton);
  EXPECT_EQ(History()->count(), 0);
  // With nothing to export, no file is made.
  prompter_.saveAnswers = {QString::fromStdString(folder_.File("none.txt"))};
  Click(kExportHistoryButton);
  EXPECT_FALSE(std::filesystem::exists(folder_.File("none.txt")));
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(HistoryTest, PopupListsEntriesAndSendsOnDoubleClick) {
  Add(QStringLiteral("01 02 03"));
  Add(QStringLiteral("<two>04 05"));
  Add(QStringLiteral("06"));
  dialog_.show();
  Click(kHistoryPopupButton);
  ASSERT_TRUE(Popup()->isVisible());
  QListWidget* list = Popup()->List();
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("<two>04 05"));
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("-1/3 双击发送"));
  // Bottom edge 10 pixels above the history button.
  const QPoint button = dialog_.Button(kHistoryPopupButton)->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(Popup()->frameGeometry().bottom() + 1, button.y() - 10);

  list->setCurrentRow(0);
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("0/3 双击发送"));
  EXPECT_EQ(SendText(), QStringLiteral("01 02 03"));
  list->setCurrentRow(1);
  emit list->itemDoubleClicked(list->item(1));
  EXPECT_EQ(pty_.Read(2), ByteFrame({0x04, 0x05}));
  EXPECT_EQ(dialog_.TxCount(), 2);

  // A row that the list no longer has is not used; the popup shows the list afresh.
  Click(kClearHistoryButton);
  Add(QStringLiteral("07"));
  list->setCurrentRow(2);
  EXPECT_EQ(SendText(), QStringLiteral("07"));
  EXPECT_EQ(list->count(), 1);

  Click(kHistoryPopupButton);
  EXPECT_FALSE(Popup()->isVisible());
}

TEST_F(HistoryTest, DoubleClickWithThePortClosedSendsNothingQuietly) {
  Add(QStringLiteral("0a"));
  Click(kOpenButton);
  Click(kHistoryPopupButton);
  QListWidget* list = Popup()->List();
  list->setCurrentRow(0);
  emit list->itemDoubleClicked(list->item(0));
  EXPECT_EQ(dialog_.TxCount(), 0);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

}  // namespace
}  // namespace portprobe
