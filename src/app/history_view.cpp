#include "app/history_view.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>

#include "app/file_filters.h"
#include "app/history_popup.h"
#include "app/unreadable_file_text.h"
#include "files/history_file.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/template_dialog.h"

namespace portprobe {

using namespace resources;

namespace {

const ui::FileDialogRequest kHistoryFileDialog{kTextOrAnyFileFilter, QStringLiteral("txt"),
                                               QStringLiteral("history.txt")};

}  // namespace

HistoryView::HistoryView(ui::TemplateDialog& window, ui::Prompter& prompter, WindowHooks hooks)
    : QObject(&window),
      window_(window),
      prompter_(prompter),
      hooks_(std::move(hooks)),
      popup_(new HistoryPopup(&window, [this](int index, bool send) { UseEntry(index, send); })) {
  connect(window.Button(kAddHistoryButton), &QPushButton::clicked, this, &HistoryView::Add);
  connect(window.Button(kClearHistoryButton), &QPushButton::clicked, this, &HistoryView::Clear);
  connect(window.Button(kExportHistoryButton), &QPushButton::clicked, this, &HistoryView::Export);
  connect(window.Button(kImportHistoryButton), &QPushButton::clicked, this, &HistoryView::Import);
  connect(window.Button(kHistoryPopupButton), &QPushButton::clicked, this, &HistoryView::TogglePopup);
  connect(window.ComboBox(kHistoryList), &QComboBox::activated, this, &HistoryView::Selected);
}

QVariantList HistoryView::Entries() const {
  QVariantList entries;
  for (const std::string& entry : history_.Entries()) entries << QByteArray::fromStdString(entry);
  return entries;
}

// A file edited by hand may hold more entries than the history takes.
void HistoryView::Restore(const QVariantList& entries) {
  for (const QVariant& entry : entries) {
    if (history_.Entries().size() >= kMaxHistoryEntries) break;
    history_.Add(entry.toByteArray().toStdString());
  }
  ShowRows();
}

// The list shows the entries as text; the history keeps their bytes.
void HistoryView::ShowRows() {
  QComboBox* list = window_.ComboBox(kHistoryList);
  list->clear();
  for (const std::string& entry : history_.Entries()) list->addItem(QString::fromStdString(entry));
}

void HistoryView::Add() {
  const std::string text = hooks_.sendBoxBytes();
  switch (history_.Add(text)) {
    case CommandHistory::AddResult::Added:
      window_.ComboBox(kHistoryList)->addItem(QString::fromStdString(text));
      window_.ComboBox(kHistoryList)->setCurrentIndex(static_cast<int>(history_.Size()) - 1);
      break;
    case CommandHistory::AddResult::TooLong:
      hooks_.notify(QString::fromUtf8(kHistoryEntryTooLongText).arg(kMaxHistoryEntry).arg(text.size()));
      break;
    case CommandHistory::AddResult::Empty:
    case CommandHistory::AddResult::Duplicate:
      break;
  }
}

void HistoryView::Selected() {
  const int row = window_.ComboBox(kHistoryList)->currentIndex();
  if (row >= 0) hooks_.showInSendBox(std::string(history_.EntryText(static_cast<std::size_t>(row))));
}

// One key must not lose the whole history: a list with entries is cleared once the
// user confirms it.
void HistoryView::Clear() {
  if (history_.Size() > 0 &&
      !prompter_.Confirm(&window_, QString::fromUtf8(kClearHistoryQuestionText).arg(history_.Size()))) {
    return;
  }
  history_.Clear();
  ShowRows();
  window_.ComboBox(kHistoryList)->setEditText(QString());
}

void HistoryView::Export() {
  const QString path = prompter_.GetSaveFileName(&window_, kHistoryFileDialog);
  if (path.isEmpty()) return;
  history_.Export(path.toStdString());  // a file that cannot be written is passed over quietly
}

void HistoryView::Import() {
  const QString path = prompter_.GetOpenFileName(&window_, kHistoryFileDialog);
  if (path.isEmpty()) return;
  const Expected<std::size_t> dropped = history_.Import(path.toStdString());
  if (!dropped) {
    // A file that is not there is passed over quietly, as it always was.
    if (QFileInfo::exists(path)) hooks_.notify(UnreadableFileText(path, dropped.Reason()));
    return;
  }
  ShowRows();
  if (history_.Size() > 0) window_.ComboBox(kHistoryList)->setCurrentIndex(0);
  if (*dropped > 0) {
    hooks_.notify(QString::fromUtf8(kHistoryImportCutText).arg(kMaxHistoryEntries).arg(*dropped));
  }
}

void HistoryView::TogglePopup() {
  if (popup_->isVisible()) {
    popup_->hide();
    return;
  }
  QStringList entries;
  for (const std::string& entry : history_.Entries()) entries << QString::fromStdString(entry);
  popup_->FillHistoryPopup(entries);
  popup_->show();
  // Placed once shown, when its frame is known: right edge 10 pixels inside the main
  // window's width from the button, bottom edge 10 pixels above the button.
  const QPoint button = window_.Button(kHistoryPopupButton)->mapToGlobal(QPoint(0, 0));
  const QSize popup = popup_->frameGeometry().size();
  popup_->move(button.x() + window_.frameGeometry().width() - popup.width() - 10, button.y() - 10 - popup.height());
}

void HistoryView::UseEntry(int index, bool send) {
  // The popup was filled before the list was cleared or replaced: show it afresh.
  if (index < 0 || static_cast<std::size_t>(index) >= history_.Size()) {
    popup_->hide();
    TogglePopup();
    return;
  }
  const std::string text(history_.EntryText(static_cast<std::size_t>(index)));
  hooks_.showInSendBox(text);
  if (send) hooks_.send(text);
}

}  // namespace portprobe
