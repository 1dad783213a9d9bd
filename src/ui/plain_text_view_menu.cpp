// The edit menu that a right click in a text box opens, as edit boxes have it.
#include <QContextMenuEvent>
#include <QMenu>

#include "resources/strings.h"
#include "ui/plain_text_view.h"

namespace portprobe::ui {

namespace {

enum EditCommand { kUndo = 1, kRedo, kCut, kCopy, kPaste, kDelete, kSelectAll };

void AddEntry(QMenu& menu, const char* text, EditCommand command, bool enabled) {
  QAction* action = menu.addAction(QString::fromUtf8(text));
  action->setData(command);
  action->setEnabled(enabled);
}

}  // namespace

void PlainTextView::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  if (!runMenu_) return;
  const bool editable = !readOnly_;
  QMenu menu(this);
  AddEntry(menu, resources::kUndoEntryText, kUndo, editable);
  AddEntry(menu, resources::kRedoEntryText, kRedo, editable);
  menu.addSeparator();
  AddEntry(menu, resources::kCutEntryText, kCut, editable && HasSelection());
  AddEntry(menu, resources::kCopyEntryText, kCopy, HasSelection());
  AddEntry(menu, resources::kPasteEntryText, kPaste, editable);
  AddEntry(menu, resources::kDeleteEntryText, kDelete, editable && HasSelection());
  menu.addSeparator();
  AddEntry(menu, resources::kSelectAllEntryText, kSelectAll, true);
  const QAction* chosen = runMenu_(menu, event->globalPos());
  if (chosen == nullptr || !chosen->isEnabled()) return;
  switch (chosen->data().toInt()) {
    case kUndo:
      Undo();
      break;
    case kRedo:
      Redo();
      break;
    case kCut:
      Cut();
      break;
    case kCopy:
      Copy();
      break;
    case kPaste:
      Paste();
      break;
    case kDelete:
      ReplaceSelection({});
      break;
    case kSelectAll:
      SelectAll();
      break;
    default:
      break;
  }
}

}  // namespace portprobe::ui
