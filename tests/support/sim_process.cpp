#include "support/sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/child_process.h"

namespace portprobe::testing {

namespace {

std::string ReadLine(int fd) {
  std::string line;
  char c = 0;
  while (::read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

}  // namespace

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  pid_ = SpawnProgram(program, args, actions);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (pid_ > 0) devicePath_ = ReadLine(out[0]);  // empty when it ended without one
  ::close(out[0]);
  if (pid_ <= 0) throw std::runtime_error("cannot start " + program);
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

void SimProcess::Signal(int signal) const { ::kill(pid_, signal); }

int SimProcess::WaitForExit(int timeoutMs) { return WaitForChild(pid_, timeoutMs); }

DeviceFd::DeviceFd(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
  if (fd_ < 0) throw std::runtime_error("cannot open " + path);
}

DeviceFd::~DeviceFd() { ::close(fd_); }

}  // namespace portprobe::testing
