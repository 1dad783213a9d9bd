#pragma once

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QStringList>
#include <deque>
#include <map>
#include <vector>

#include "ui/prompter.h"

namespace portprobe::testing {

// Answers message boxes and file dialogs without a modal loop and records them.
class ScriptedPrompter : public ui::Prompter {
 public:
  void ShowMessage(QWidget*, const QString& text) override {
    messages << text;
    if (whileMessageShows) whileMessageShows();
  }

  // The next of confirmAnswers; 确定 when none is left.
  bool Confirm(QWidget*, const QString& question) override {
    questions << question;
    if (confirmAnswers.empty()) return true;
    const bool yes = confirmAnswers.front();
    confirmAnswers.pop_front();
    return yes;
  }

  QString GetOpenFileName(QWidget*, const ui::FileDialogRequest& request) override {
    openRequests.push_back(request);
    return Next(openAnswers);
  }
  QString GetSaveFileName(QWidget*, const ui::FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return Next(saveAnswers);
  }
  bool OfferStop(QWidget*, const std::function<QString()>& text, const std::function<bool()>&) override {
    stopOffers << text();
    if (whileStopIsOffered) whileStopIsOffered();
    if (stopAnswers.empty()) return false;
    const bool stop = stopAnswers.front();
    stopAnswers.pop_front();
    return stop;
  }

  // Runs whileDialogShows in place of the dialog's modal loop; it answers as the user
  // would, with the dialog's controls. A dialog it leaves open counts as cancelled.
  int ExecDialog(QDialog& dialog) override {
    dialogs << dialog.windowTitle();
    dialog.setResult(QDialog::Rejected);
    if (whileDialogShows) whileDialogShows(dialog);
    return dialog.result();
  }

  // Records the menu's entries ("-" for a separator) and picks the entry whose
  // data is the next of menuChoices, in the menu or one of its submenus; none left,
  // no such entry or a disabled one dismisses it, as a click on a disabled entry does.
  // A submenu's entries are recorded under its title in submenus and tickedSubmenuEntries.
  QAction* ExecMenu(QMenu& menu, const QPoint&) override {
    const int wanted = menuChoices.empty() ? -1 : menuChoices.front();
    if (!menuChoices.empty()) menuChoices.pop_front();
    submenus.clear();
    tickedSubmenuEntries.clear();
    QStringList entries;
    QStringList ticked;
    QAction* chosen = Walk(menu, wanted, entries, ticked);
    menus.push_back(entries);
    tickedEntries.push_back(ticked);
    return chosen;
  }

  bool OpenDocument(const QString& path) override {
    openedDocuments << path;
    return documentsOpen;
  }
  bool StartDetached(const QString& program) override {
    startedPrograms << program;
    return true;
  }

  // Run while a message box or a stop offer would be showing, as their modal loops do.
  std::function<void()> whileMessageShows;
  std::function<void()> whileStopIsOffered;
  std::function<void(QDialog&)> whileDialogShows;

  QStringList messages;
  QStringList questions;
  std::deque<bool> confirmAnswers;
  QStringList dialogs;  // the titles of the dialogs run
  std::vector<QStringList> menus;
  std::vector<QStringList> tickedEntries;  // the checked entries of each menu
  // The submenus of the last menu, by title.
  std::map<QString, QStringList> submenus;
  std::map<QString, QStringList> tickedSubmenuEntries;
  std::deque<int> menuChoices;
  QStringList openedDocuments;
  bool documentsOpen = true;  // false: as if the desktop had no viewer
  QStringList startedPrograms;
  QStringList stopOffers;
  std::deque<QString> openAnswers;  // an empty text, or none left, cancels the dialog
  std::deque<QString> saveAnswers;
  std::deque<bool> stopAnswers;  // none left: keep waiting (the offer comes again)
  std::vector<ui::FileDialogRequest> openRequests;
  std::vector<ui::FileDialogRequest> saveRequests;

 private:
  QAction* Walk(QMenu& menu, int wanted, QStringList& entries, QStringList& ticked) {
    QAction* chosen = nullptr;
    for (QAction* action : menu.actions()) {
      entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
      if (action->isChecked()) ticked << action->text();
      if (QMenu* submenu = action->menu()) {
        QAction* inside = Walk(*submenu, wanted, submenus[action->text()], tickedSubmenuEntries[action->text()]);
        if (inside != nullptr) chosen = inside;
      } else if (!action->isSeparator() && action->isEnabled() && action->data().toInt() == wanted) {
        chosen = action;
      }
    }
    return chosen;
  }

  static QString Next(std::deque<QString>& answers) {
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace portprobe::testing
