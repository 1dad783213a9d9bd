#pragma once

#include <QObject>
#include <QVariantList>
#include <functional>
#include <string>

#include "session/command_history.h"

namespace portprobe {

class HistoryPopup;

namespace ui {
class Prompter;
class TemplateDialog;
}  // namespace ui

// The command history's view: list 1002, its buttons, its files and its popup.
class HistoryView : public QObject {
  Q_OBJECT

 public:
  // What the view takes from the window and gives it.
  struct WindowHooks {
    std::function<std::string()> sendBoxBytes;
    std::function<void(const std::string&)> showInSendBox;
    std::function<void(const std::string&)> send;
    std::function<void(const QString&)> notify;
  };

  HistoryView(ui::TemplateDialog& window, ui::Prompter& prompter, WindowHooks hooks);

  const CommandHistory& History() const { return history_; }
  HistoryPopup* Popup() const { return popup_; }
  // Entries as they are remembered: the bytes of each.
  QVariantList Entries() const;
  void Restore(const QVariantList& entries);

 private:
  void ShowRows();
  void Add();
  void Selected();
  void Clear();
  void Export();
  void Import();
  void TogglePopup();
  void UseEntry(int index, bool send);

  ui::TemplateDialog& window_;
  ui::Prompter& prompter_;
  WindowHooks hooks_;
  CommandHistory history_;
  HistoryPopup* popup_;
};

}  // namespace portprobe
