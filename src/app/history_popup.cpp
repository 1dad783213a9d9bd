#include "app/history_popup.h"

#include <QListView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "app/history_entries_model.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "resources/strings.h"

namespace portprobe {

namespace {

// What the default width is made to show in full.
const QString kWidestCaption = QString::fromUtf8(resources::kHistoryPopupTitleText).arg(10000).arg(10000);
const QString kTypicalEntry = QStringLiteral("0B 03 07 00 34 12 00 00   01 01 00 29 ");

}  // namespace

HistoryPopup::HistoryPopup(QWidget* mainWindow, std::function<void(int, bool)> useEntry)
    : TemplateDialog(resources::HistoryPopupTemplate(), mainWindow),
      useEntry_(std::move(useEntry)),
      model_(new HistoryEntriesModel(this)) {
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);
  QListView* list = List();
  list->setModel(model_);
  list->setUniformItemSizes(true);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette palette = list->palette();
  palette.setColor(QPalette::Text, QColor(0, 0, 255));
  list->setPalette(palette);
  connect(list, &QListView::clicked, this, [this](const QModelIndex& index) { ItemChosen(index.row(), false); });
  connect(list, &QListView::doubleClicked, this, [this](const QModelIndex& index) { ItemChosen(index.row(), true); });
  resize(std::max(width(), DefaultWidth()), height());
  list->setGeometry(rect());
}

QListView* HistoryPopup::List() const { return ListBox(resources::kHistoryPopupList); }

// The template's width shows neither the caption nor a usual entry.
int HistoryPopup::DefaultWidth() const {
  const QListView* list = List();
  const int entry = list->fontMetrics().horizontalAdvance(kTypicalEntry) +
                    list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth() + 8;
  // The caption shares its bar with the window manager's icon and buttons.
  const int caption =
      fontMetrics().horizontalAdvance(kWidestCaption) + 4 * style()->pixelMetric(QStyle::PM_TitleBarHeight);
  return std::max(entry, caption);
}

void HistoryPopup::FillHistoryPopup(const QStringList& entries) {
  model_->SetEntries(entries);
  pickedRow_ = -1;
  UpdatePopupTitle();
}

// Counted from 1; 0 while no entry has been picked.
void HistoryPopup::UpdatePopupTitle() {
  setWindowTitle(QString::fromUtf8(resources::kHistoryPopupTitleText).arg(pickedRow_ + 1).arg(model_->rowCount()));
}

// The highlighted row, not the current one, which focus alone moves to the top.
void HistoryPopup::EnterPressed() {
  const QModelIndexList highlighted = List()->selectionModel()->selectedIndexes();
  if (!highlighted.isEmpty()) ItemChosen(highlighted.constFirst().row(), true);
}

void HistoryPopup::ItemChosen(int row, bool send) {
  pickedRow_ = row;
  useEntry_(row, send);  // may fill the popup afresh
  UpdatePopupTitle();
}

void HistoryPopup::resizeEvent(QResizeEvent* event) {
  TemplateDialog::resizeEvent(event);
  List()->setGeometry(rect());
}

}  // namespace portprobe
