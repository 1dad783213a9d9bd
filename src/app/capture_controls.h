#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "session/receive_path.h"

namespace portprobe {

namespace ui {
class Prompter;
class TemplateDialog;
}  // namespace ui

// Capture of received data to a file: check box 1011, "更改" and "保存" with label 1029,
// which shows the file, and for a while after a save that it was saved.
class CaptureControls : public QObject {
  Q_OBJECT

 public:
  // `receiveText`: what the receive box holds, without the echo of sent frames.
  CaptureControls(ui::TemplateDialog& window, ui::Prompter& prompter, ReceivePath& receive,
                  int labelRestoreMilliseconds, std::function<std::string()> receiveText);

  // Where capture goes when it is first switched on in this run (empty: the default
  // file); once taken, later switches go to the default file.
  void SetRememberedPath(std::string path) { rememberedPath_ = std::move(path); }
  // Shows the file, or that there is none.
  void ShowPath();

 signals:
  // The file chosen for capture changed.
  void PathChanged();

 private:
  void Toggled();
  void ChangeFile();
  void SaveReceive();

  ui::TemplateDialog& window_;
  ui::Prompter& prompter_;
  ReceivePath& receive_;
  std::function<std::string()> receiveText_;
  std::string rememberedPath_;
  QTimer labelRestoreTimer_;
};

}  // namespace portprobe
