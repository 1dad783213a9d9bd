#include "app/history_popup.h"

#include <QListWidget>
#include <QResizeEvent>

#include "resources/control_ids.h"
#include "resources/dialog_templates.h"

namespace portprobe {

namespace {

constexpr int kItemHeight = 25;

}  // namespace

HistoryPopup::HistoryPopup(QWidget* mainWindow, std::function<void(int, bool)> useEntry)
    : TemplateDialog(resources::HistoryPopupTemplate(), mainWindow), useEntry_(std::move(useEntry)) {
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);
  QListWidget* list = List();
  list->setUniformItemSizes(true);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette palette = list->palette();
  palette.setColor(QPalette::Text, QColor(0, 0, 255));
  list->setPalette(palette);
  list->setGeometry(rect());
  connect(list, &QListWidget::currentRowChanged, this, [this] { ItemChosen(false); });
  connect(list, &QListWidget::itemDoubleClicked, this, [this] { ItemChosen(true); });
}

QListWidget* HistoryPopup::List() const { return ListBox(resources::kHistoryPopupList); }

void HistoryPopup::FillHistoryPopup(const QStringList& entries) {
  QListWidget* list = List();
  const QSignalBlocker quiet(list);
  list->clear();
  for (const QString& entry : entries) {
    auto* item = new QListWidgetItem(entry, list);
    item->setSizeHint(QSize(0, kItemHeight));
  }
  UpdatePopupTitle();
}

void HistoryPopup::UpdatePopupTitle() {
  setWindowTitle(QStringLiteral("%1/%2 双击发送").arg(List()->currentRow()).arg(List()->count()));
}

void HistoryPopup::ItemChosen(bool send) {
  const int row = List()->currentRow();
  if (row >= 0) useEntry_(row, send);
  UpdatePopupTitle();
}

void HistoryPopup::resizeEvent(QResizeEvent* event) {
  TemplateDialog::resizeEvent(event);
  List()->setGeometry(rect());
}

}  // namespace portprobe
