#include "app/window_checksum_host.h"

#include "app/responsive_wait.h"
#include "resources/strings.h"

namespace portprobe {

void WindowChecksumHost::ShowMessage(const std::string& text) {
  prompter_.ShowMessage(window_, QString::fromStdString(text));
}

bool WindowChecksumHost::WaitForProgram(RunningProgram& program) {
  return WaitResponsively(
      window_, prompter_, [] { return QString::fromUtf8(resources::kChecksumProgramStillRunningText); },
      [&program] { return program.HasEnded(); });
}

}  // namespace portprobe
