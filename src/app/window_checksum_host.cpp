#include "app/window_checksum_host.h"

#include "app/responsive_wait.h"

namespace portprobe {

void WindowChecksumHost::ShowMessage(const std::string& text) {
  prompter_.ShowMessage(window_, QString::fromStdString(text));
}

bool WindowChecksumHost::WaitForProgram(RunningProgram& program) {
  return WaitResponsively(window_, prompter_, [] { return QStringLiteral("自定义校验程序仍在运行。要停止它吗?"); },
                          [&program] { return program.HasEnded(); });
}

}  // namespace portprobe
