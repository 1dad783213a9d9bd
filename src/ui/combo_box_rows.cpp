#include "ui/combo_box_rows.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QStyle>

namespace portprobe::ui {

void CommitTypedRow(QComboBox* list) {
  if (!list->isEditable()) return;
  const int row = list->findText(list->currentText().trimmed(), Qt::MatchFixedString);
  if (row < 0) {
    list->setEditText(list->itemText(list->currentIndex()));
    return;
  }
  list->setCurrentIndex(row);
  emit list->activated(row);
}

namespace {

void WidenDropDown(QComboBox* list) {
  QAbstractItemView* view = list->view();
  const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
  const int frame = 2 * view->frameWidth();
  view->setMinimumWidth(view->sizeHintForColumn(0) + scrollBar + frame);
}

}  // namespace

void FitDropDownToRows(QComboBox* list) {
  WidenDropDown(list);
  QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list, [list] { WidenDropDown(list); });
  // Rows that change their text (a port renewed by udev) may need more room too.
  QObject::connect(list->model(), &QAbstractItemModel::dataChanged, list, [list] { WidenDropDown(list); });
}

}  // namespace portprobe::ui
