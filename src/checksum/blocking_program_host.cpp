#include "checksum/blocking_program_host.h"

namespace portprobe {

void BlockingProgramHost::ShowMessage(const std::string& text) {
  showedMessage_ = true;
  messages_ << text << '\n' << std::flush;
}

bool BlockingProgramHost::WaitForProgram(RunningProgram& program) {
  program.Wait();
  return true;
}

}  // namespace portprobe
