#pragma once

#include "checksum/checksum_program_host.h"
#include "ui/prompter.h"

namespace portprobe {

// Runs checksum programs for the main window: messages go to message boxes, and the
// window keeps painting while a program runs, offering to stop one that takes long.
class WindowChecksumHost : public ChecksumProgramHost {
 public:
  WindowChecksumHost(QWidget* window, ui::Prompter& prompter) : window_(window), prompter_(prompter) {}

  void ShowMessage(const std::string& text) override;
  bool WaitForProgram(RunningProgram& program) override;

 private:
  QWidget* window_;
  ui::Prompter& prompter_;
};

}  // namespace portprobe
