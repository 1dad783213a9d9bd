#include "support/holding_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace portprobe::testing {

HoldingProcess::HoldingProcess(const std::string& devicePath) {
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, devicePath.c_str(), O_RDWR | O_NOCTTY, 0);
  // Nothing else of this process: the tests' own pseudo-terminals are inheritable.
  ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  char program[] = "/bin/sleep";
  char seconds[] = "600";
  char* argv[] = {program, seconds, nullptr};
  // posix_spawn returns once the program runs, so the device is open by then.
  const int error = ::posix_spawn(&pid_, program, &actions, nullptr, argv, environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start sleep");
}

HoldingProcess::~HoldingProcess() {
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

}  // namespace portprobe::testing
