#include "ui/combo_box_rows.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace portprobe::ui {

namespace {

// The box's own style options: initStyleOption is protected, and a pointer to it
// taken through a derived class reaches it legally.
struct StyleOptionOf : QComboBox {
  static QStyleOptionComboBox Of(const QComboBox& list) {
    QStyleOptionComboBox option;
    (list.*(&StyleOptionOf::initStyleOption))(&option);
    return option;
  }
};

// Paints the closed box as the style does, with the short text in place of the whole.
class ShortTextPainter : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* list = static_cast<QComboBox*>(watched);
    const QVariant shortText = list->currentData(kShortTextRole);
    if (event->type() != QEvent::Paint || !shortText.isValid()) return false;
    QStylePainter painter(list);
    QStyleOptionComboBox option = StyleOptionOf::Of(*list);
    option.currentText = shortText.toString();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    return true;
  }
};

}  // namespace

void ShowShortTextWhenClosed(QComboBox* list) { list->installEventFilter(new ShortTextPainter(list)); }

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
