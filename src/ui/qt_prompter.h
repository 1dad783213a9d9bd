#pragma once

#include "ui/prompter.h"

namespace portprobe::ui {

// The prompter of the running terminal: real message boxes and file dialogs.
class QtPrompter final : public Prompter {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  bool Confirm(QWidget* parent, const QString& question) override;
  QString GetOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString GetSaveFileName(QWidget* parent, const FileDialogRequest& request) override;
  bool OfferStop(QWidget* parent, const std::function<QString()>& text, const std::function<bool()>& finished) override;
  int ExecDialog(QDialog& dialog) override;
  QAction* ExecMenu(QMenu& menu, const QPoint& screenPoint) override;
  bool OpenDocument(const QString& path) override;
  bool StartDetached(const QString& program) override;
};

}  // namespace portprobe::ui
