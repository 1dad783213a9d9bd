// The command history: list 1002, its buttons, its files and its popup.
#include <QComboBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/history_popup.h"
#include "app/file_filters.h"
#include "app/main_dialog.h"
#include "app/unreadable_file_text.h"
#include "resources/control_ids.h"
#include "files/history_file.h"
#include "codec/send_text.h"

namespace portprobe {

using namespace resources;

namespace {

const ui::FileDialogRequest kHistoryFileDialog{kTextOrAnyFileFilter, QStringLiteral("txt"),
                                               QStringLiteral("history.txt")};

// Rows show the entry as text; the bytes themselves ride along, so that a file read
// in is written out again byte for byte.
constexpr int kEntryBytesRole = Qt::UserRole;

}  // namespace

std::string MainDialog::HistoryRow(int index) const {
  return ComboBox(kHistoryList)->itemData(index, kEntryBytesRole).toByteArray().toStdString();
}

void MainDialog::AppendHistoryRow(const std::string& entry) {
  ComboBox(kHistoryList)->addItem(QString::fromStdString(entry), QByteArray::fromStdString(entry));
}

std::string MainDialog::HistoryEntryText(int index) const {
  return std::string(portprobe::HistoryEntryText(HistoryRow(index)));
}

void MainDialog::AddToHistory() {
  const std::string text = SendBoxBytes();
  if (text.empty()) return;
  if (text.size() > kMaxHistoryEntry) {
    Notify(QStringLiteral("历史命令最长%1字节，发送框中的文本有%2字节，未加入。").arg(kMaxHistoryEntry).arg(text.size()));
    return;
  }
  QComboBox* history = ComboBox(kHistoryList);
  for (int i = 0; i < history->count(); ++i) {
    if (HistoryRow(i) == text) return;
  }
  AppendHistoryRow(text);
  history->setCurrentIndex(history->count() - 1);
}

void MainDialog::HistorySelected() {
  const int row = ComboBox(kHistoryList)->currentIndex();
  if (row >= 0) SetSendBoxBytes(HistoryEntryText(row));
}

void MainDialog::ClearHistory() {
  QComboBox* history = ComboBox(kHistoryList);
  history->clear();
  history->setEditText(QString());
}

void MainDialog::ExportHistory() {
  const QString path = prompter_.GetSaveFileName(this, kHistoryFileDialog);
  QComboBox* history = ComboBox(kHistoryList);
  if (path.isEmpty() || history->count() < 1) return;
  std::vector<std::string> entries;
  for (int i = 0; i < history->count(); ++i) entries.push_back(HistoryRow(i));
  WriteHistoryFile(path.toStdString(), entries);  // a file that cannot be written is passed over quietly
}

void MainDialog::ImportHistory() {
  const QString path = prompter_.GetOpenFileName(this, kHistoryFileDialog);
  if (path.isEmpty()) return;
  std::string error;
  const std::optional<HistoryFileContent> content = ReadHistoryFile(path.toStdString(), &error);
  if (!content) {
    // A file that is not there is passed over quietly, as it always was.
    if (QFileInfo::exists(path)) Notify(UnreadableFileText(path, error));
    return;
  }
  QComboBox* history = ComboBox(kHistoryList);
  history->clear();
  for (const std::string& entry : content->entries) AppendHistoryRow(entry);
  if (history->count() > 0) history->setCurrentIndex(0);
  if (content->dropped > 0) {
    Notify(QStringLiteral("历史命令最多%1条：导入了前%1条，舍弃了其后的%2条。")
               .arg(kMaxHistoryEntries)
               .arg(content->dropped));
  }
}

void MainDialog::ToggleHistoryPopup() {
  if (historyPopup_->isVisible()) {
    historyPopup_->hide();
    return;
  }
  QStringList entries;
  QComboBox* history = ComboBox(kHistoryList);
  for (int i = 0; i < history->count(); ++i) entries << history->itemText(i);
  historyPopup_->FillHistoryPopup(entries);
  historyPopup_->show();
  // Placed once shown, when its frame is known: right edge 10 pixels inside the main
  // window's width from the button, bottom edge 10 pixels above the button.
  const QPoint button = Button(kHistoryPopupButton)->mapToGlobal(QPoint(0, 0));
  const QSize popup = historyPopup_->frameGeometry().size();
  historyPopup_->move(button.x() + frameGeometry().width() - popup.width() - 10, button.y() - 10 - popup.height());
}

void MainDialog::UseHistoryEntry(int index, bool send) {
  // The popup was filled before the list was cleared or replaced: show it afresh.
  if (index < 0 || index >= ComboBox(kHistoryList)->count()) {
    historyPopup_->hide();
    ToggleHistoryPopup();
    return;
  }
  const std::string text = HistoryEntryText(index);
  SetSendBoxBytes(text);
  if (send) SendText(text);
}

}  // namespace portprobe
