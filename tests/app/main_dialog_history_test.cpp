#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/dialog_test_support.h"
#include "app/history_popup.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;
using testing::Choose;

// Clicks an entry of a shown popup through its window, as the window system delivers
// a user's click: a double click is two presses that the application pairs up.
void ClickEntry(HistoryPopup* popup, int row, bool twice) {
  QListView* list = popup->List();
  const QPoint at = list->viewport()->mapTo(popup, list->visualRect(list->model()->index(row, 0)).center());
  if (twice) {
    QTest::mouseDClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
  } else {
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
  }
}

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
  QListView* List() { return Popup()->List(); }
  QModelIndex Row(int row) { return List()->model()->index(row, 0); }
  void ClickRow(int row) { ClickEntry(Popup(), row, false); }
  void DoubleClickRow(int row) { ClickEntry(Popup(), row, true); }
  void SetPeriod(const QString& text) { dialog_.Edit(kPeriodEdit)->setText(text); }
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

  // A folder (said so) or a missing file (quietly) leaves the list as it is; an empty
  // file empties it.
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
  EXPECT_EQ(
      prompter_.messages,
      QStringList{QStringLiteral("无法读取文件%1: 不是普通文件").arg(QString::fromStdString(folder_.Path().string()))});
}

TEST_F(HistoryTest, PopupListsEntriesAndSendsOnDoubleClick) {
  Add(QStringLiteral("01 02 03"));
  Add(QStringLiteral("<two>04 05"));
  Add(QStringLiteral("06"));
  dialog_.show();
  Click(kHistoryPopupButton);
  ASSERT_TRUE(Popup()->isVisible());
  ASSERT_EQ(List()->model()->rowCount(), 3);
  EXPECT_EQ(Row(1).data().toString(), QStringLiteral("<two>04 05"));
  EXPECT_EQ(List()->visualRect(Row(1)).height(), 25);
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("0/3 双击发送"));
  // Bottom edge 10 pixels above the history button.
  const QPoint button = dialog_.Button(kHistoryPopupButton)->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(Popup()->frameGeometry().bottom() + 1, button.y() - 10);

  ClickRow(0);
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("1/3 双击发送"));
  EXPECT_EQ(SendText(), QStringLiteral("01 02 03"));
  EXPECT_EQ(pty_.Read(1, 50).size(), 0u);
  DoubleClickRow(1);
  EXPECT_EQ(pty_.Read(2), ByteFrame({0x04, 0x05}));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 2);
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("2/3 双击发送"));

  // Clearing asks first; 取消 keeps every entry.
  prompter_.confirmAnswers = {false, true};
  Click(kClearHistoryButton);
  EXPECT_EQ(History()->count(), 3);
  // A row that the list no longer has is not used; the popup shows the list afresh.
  Click(kClearHistoryButton);
  EXPECT_EQ(prompter_.questions, QStringList(2, QStringLiteral("清空全部3条历史命令？")));
  EXPECT_EQ(History()->count(), 0);
  Add(QStringLiteral("07"));
  ClickRow(2);
  EXPECT_EQ(SendText(), QStringLiteral("07"));
  EXPECT_EQ(List()->model()->rowCount(), 1);
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("0/1 双击发送"));

  // In character mode an entry goes out as a text send, with the chosen line end.
  dialog_.CheckBox(kHexSendCheck)->setChecked(false);
  Preferences preferences = dialog_.CurrentPreferences();
  preferences.lineEnd = SendLineEnd::CrLf;
  dialog_.SetPreferences(preferences);
  DoubleClickRow(0);
  EXPECT_EQ(pty_.Read(4), ByteFrame({'0', '7', '\r', '\n'}));

  Click(kHistoryPopupButton);
  EXPECT_FALSE(Popup()->isVisible());
}

TEST_F(HistoryTest, ShowingAndFocusingThePopupPicksNothing) {
  Add(QStringLiteral("0a"));
  Add(QStringLiteral("0b"));
  SetSendText(QStringLiteral("typed"));
  SetPeriod(QStringLiteral("10"));
  dialog_.CheckBox(kAutoSendCheck)->click();
  dialog_.show();
  Click(kHistoryPopupButton);
  Popup()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Popup()));
  ASSERT_TRUE(testing::WaitUntil([&] { return List()->hasFocus(); }));
  QTest::qWait(100);
  // The list's current row has moved to the first entry, as Qt does on focus; that is no choice.
  EXPECT_EQ(List()->currentIndex().row(), 0);
  EXPECT_EQ(SendText(), QStringLiteral("typed"));
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("0/2 双击发送"));
  dialog_.CheckBox(kAutoSendCheck)->click();
  const ByteFrame sent = pty_.Read(1 << 16, 50);
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x0a), 0);

  // Enter sends the highlighted entry as a double click does; with none, nothing.
  testing::PressKey(Qt::Key_Return);
  EXPECT_EQ(pty_.Read(1, 50).size(), 0u);
  EXPECT_TRUE(Popup()->isVisible());
  testing::PressKey(Qt::Key_Down);
  testing::PressKey(Qt::Key_Return);
  EXPECT_EQ(pty_.Read(1), ByteFrame({0x0b}));
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("2/2 双击发送"));
  EXPECT_TRUE(Popup()->isVisible());

  // Its first width shows the caption and a usual frame whole.
  EXPECT_GE(Popup()->width(), Popup()->fontMetrics().horizontalAdvance(QStringLiteral("10000/10000 双击发送")));
  EXPECT_GE(List()->viewport()->width(),
            List()->fontMetrics().horizontalAdvance(QStringLiteral("0B 03 07 00 34 12 00 00   01 01 00 29 ")));
}

TEST_F(HistoryTest, DoubleClickWithThePortClosedSendsNothingQuietly) {
  Add(QStringLiteral("0a"));
  Click(kOpenButton);
  dialog_.show();
  Click(kHistoryPopupButton);
  DoubleClickRow(0);
  EXPECT_EQ(SendText(), QStringLiteral("0a"));
  EXPECT_EQ(dialog_.TxCount(), 0);
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(HistoryTest, ImportKeepsTenThousandEntriesAndTheWindowStaysResponsive) {
  std::string lines;
  for (int i = 0; i < 10005; ++i) lines += std::to_string(i) + "\r\n";
  prompter_.openAnswers = {QString::fromStdString(folder_.WriteFile("many.txt", lines))};
  EXPECT_TRUE(testing::AnswersWithin(10000, [&] { Click(kImportHistoryButton); }));
  EXPECT_EQ(History()->count(), 10000);
  EXPECT_EQ(History()->itemText(9999), QStringLiteral("9999"));
  ASSERT_EQ(prompter_.messages.size(), 1);
  EXPECT_TRUE(prompter_.messages[0].contains(QStringLiteral("10000")));
  EXPECT_TRUE(prompter_.messages[0].contains(QStringLiteral("5条")));
  dialog_.show();
  EXPECT_TRUE(testing::AnswersWithin(10000, [&] { Click(kHistoryPopupButton); }));
  EXPECT_EQ(Popup()->windowTitle(), QStringLiteral("0/10000 双击发送"));
}

TEST_F(HistoryTest, ImportRefusesWhatIsNoRegularFileOrTooLarge) {
  Add(QStringLiteral("kept"));
  const std::string fifo = folder_.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string sparse = folder_.WriteFile("sparse.txt", "");
  std::filesystem::resize_file(sparse, std::uint64_t{1} << 30);
  prompter_.openAnswers = {QStringLiteral("/dev/zero"), QString::fromStdString(fifo),
                           QString::fromStdString(folder_.Path().string()), QString::fromStdString(sparse)};
  for (int i = 0; i < 4; ++i) Click(kImportHistoryButton);
  ASSERT_EQ(prompter_.messages.size(), 4);
  EXPECT_EQ(prompter_.messages[0], QStringLiteral("无法读取文件/dev/zero: 不是普通文件"));
  EXPECT_EQ(prompter_.messages[1], QStringLiteral("无法读取文件%1: 不是普通文件").arg(QString::fromStdString(fifo)));
  EXPECT_TRUE(prompter_.messages[2].endsWith(QStringLiteral(": 不是普通文件")));
  EXPECT_TRUE(prompter_.messages[3].contains(QStringLiteral("16777216")));
  EXPECT_EQ(Rows(), QStringList{QStringLiteral("kept")});
}

TEST(HistoryPopupList, TwoMillionEntriesShowAtOnceAndAClickPicksTheOneUnderIt) {
  std::vector<std::pair<int, bool>> picked;
  HistoryPopup popup(nullptr, [&](int index, bool send) { picked.emplace_back(index, send); });
  QStringList entries;
  entries.reserve(2000000);
  for (int i = 0; i < 2000000; ++i) entries << QString::number(i);
  EXPECT_TRUE(testing::AnswersWithin(20000, [&] {
    popup.FillHistoryPopup(entries);
    popup.show();
  }));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
  EXPECT_EQ(popup.windowTitle(), QStringLiteral("0/2000000 双击发送"));
  popup.List()->scrollToBottom();
  ClickEntry(&popup, 1999999, false);
  EXPECT_EQ(picked, (std::vector<std::pair<int, bool>>{{1999999, false}}));
  EXPECT_EQ(popup.windowTitle(), QStringLiteral("2000000/2000000 双击发送"));
}

}  // namespace
}  // namespace portprobe
