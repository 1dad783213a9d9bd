#pragma once

#include <QStringList>
#include <deque>
#include <vector>

#include "ui/prompter.h"

namespace portprobe::testing {

// Answers message boxes and file dialogs without a modal loop and records them.
class ScriptedPrompter : public ui::Prompter {
 public:
  void ShowMessage(QWidget*, const QString& text) override { messages << text; }

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
    if (stopAnswers.empty()) return false;
    const bool stop = stopAnswers.front();
    stopAnswers.pop_front();
    return stop;
  }

  QStringList messages;
  QStringList stopOffers;
  std::deque<QString> openAnswers;  // an empty text, or none left, cancels the dialog
  std::deque<QString> saveAnswers;
  std::deque<bool> stopAnswers;     // none left: keep waiting
  std::vector<ui::FileDialogRequest> openRequests;
  std::vector<ui::FileDialogRequest> saveRequests;

 private:
  static QString Next(std::deque<QString>& answers) {
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace portprobe::testing
