#pragma once

#include <QStringList>
#include <functional>

#include "ui/template_dialog.h"

class QListView;

namespace portprobe {

class HistoryEntriesModel;

// Template 131: a resizable window beside the main window listing the command
// history. A click puts an entry into the send box, a double click also sends it.
class HistoryPopup : public ui::TemplateDialog {
  Q_OBJECT

 public:
  // `useEntry` receives the entry's index and whether to send it.
  HistoryPopup(QWidget* mainWindow, std::function<void(int index, bool send)> useEntry);

  void FillHistoryPopup(const QStringList& entries);
  void UpdatePopupTitle();
  QListView* List() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Enter sends the highlighted entry, as a double click does, and leaves the popup open.
  void EnterPressed() override;

 private:
  void ItemChosen(int row, bool send);
  int DefaultWidth() const;

  std::function<void(int, bool)> useEntry_;
  HistoryEntriesModel* model_;
  // The row the user last clicked; -1 until a click. The view's current row is no
  // choice: Qt moves it to the first row whenever the list gets the focus.
  int pickedRow_ = -1;
};

}  // namespace portprobe
