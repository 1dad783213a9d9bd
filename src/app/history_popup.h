#pragma once

#include <QStringList>
#include <functional>

#include "ui/template_dialog.h"

class QListWidget;

namespace portprobe {

// Template 131: a resizable window beside the main window listing the command
// history. A click puts an entry into the send box, a double click also sends it.
class HistoryPopup : public ui::TemplateDialog {
  Q_OBJECT

 public:
  // `useEntry` receives the entry's index and whether to send it.
  HistoryPopup(QWidget* mainWindow, std::function<void(int index, bool send)> useEntry);

  void FillHistoryPopup(const QStringList& entries);
  void UpdatePopupTitle();
  QListWidget* List() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ItemChosen(bool send);

  std::function<void(int, bool)> useEntry_;
};

}  // namespace portprobe
