// The command history's view: list 1002, its buttons, its files and its popup.
#include <QComboBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/file_filters.h"
#include "app/history_popup.h"
#include "app/main_dialog.h"
#include "app/unreadable_file_text.h"
#include "files/history_file.h"
#include "resources/control_ids.h"
#include "resources/strings.h"

namespace portprobe {

using namespace resources;

namespace {

const ui::FileDialogRequest kHistoryFileDialog{kTextOrAnyFileFilter, QStringLiteral("txt"),
                                               QStringLiteral("history.txt")};

}  // namespace

// The list shows the entries as text; the history keeps their bytes.
void MainDialog::ShowHistoryRows() {
  QComboBox* list = ComboBox(kHistoryList);
  list->clear();
  for (const std::string& entry : history_.Entries()) list->addItem(QString::fromStdString(entry));
}

void MainDialog::AddToHistory() {
  const std::string text = SendBoxBytes();
  switch (history_.Add(text)) {
    case CommandHistory::AddResult::Added:
      ComboBox(kHistoryList)->addItem(QString::fromStdString(text));
      ComboBox(kHistoryList)->setCurrentIndex(static_cast<int>(history_.Size()) - 1);
      break;
    case CommandHistory::AddResult::TooLong:
      Notify(QString::fromUtf8(kHistoryEntryTooLongText).arg(kMaxHistoryEntry).arg(text.size()));
      break;
    case CommandHistory::AddResult::Empty:
    case CommandHistory::AddResult::Duplicate:
      break;
  }
}

void MainDialog::HistorySelected() {
  const int row = ComboBox(kHistoryList)->currentIndex();
  if (row >= 0) SetSendBoxBytes(std::string(history_.EntryText(static_cast<std::size_t>(row))));
}

void MainDialog::ClearHistory() {
  history_.Clear();
  ShowHistoryRows();
  ComboBox(kHistoryList)->setEditText(QString());
}

void MainDialog::ExportHistory() {
  const QString path = prompter_.GetSaveFileName(this, kHistoryFileDialog);
  if (path.isEmpty()) return;
  history_.Export(path.toStdString());  // a file that cannot be written is passed over quietly
}

void MainDialog::ImportHistory() {
  const QString path = prompter_.GetOpenFileName(this, kHistoryFileDialog);
  if (path.isEmpty()) return;
  const Expected<std::size_t> dropped = history_.Import(path.toStdString());
  if (!dropped) {
    // A file that is not there is passed over quietly, as it always was.
    if (QFileInfo::exists(path)) Notify(UnreadableFileText(path, dropped.Reason()));
    return;
  }
  ShowHistoryRows();
  if (history_.Size() > 0) ComboBox(kHistoryList)->setCurrentIndex(0);
  if (*dropped > 0) {
    Notify(QString::fromUtf8(kHistoryImportCutText).arg(kMaxHistoryEntries).arg(*dropped));
  }
}

void MainDialog::ToggleHistoryPopup() {
  if (historyPopup_->isVisible()) {
    historyPopup_->hide();
    return;
  }
  QStringList entries;
  for (const std::string& entry : history_.Entries()) entries << QString::fromStdString(entry);
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
  if (index < 0 || static_cast<std::size_t>(index) >= history_.Size()) {
    historyPopup_->hide();
    ToggleHistoryPopup();
    return;
  }
  const std::string text(history_.EntryText(static_cast<std::size_t>(index)));
  SetSendBoxBytes(text);
  if (send) SendText(text);
}

}  // namespace portprobe
