#include "support/background_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "support/child_process.h"

namespace portprobe::testing {

namespace {

// The read end of a new pipe whose write end becomes `target` in the child.
int PipeInto(posix_spawn_file_actions_t& actions, int target, int& writeEnd) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_adddup2(&actions, ends[1], target);
  writeEnd = ends[1];
  return ends[0];
}

}  // namespace

BackgroundProgram::BackgroundProgram(const std::string& program, const std::vector<std::string>& args) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int outWrite = -1, errWrite = -1;
  out_.fd = PipeInto(actions, STDOUT_FILENO, outWrite);
  err_.fd = PipeInto(actions, STDERR_FILENO, errWrite);
  // Nothing else of the test's, such as the master of a pseudo-terminal whose closing
  // the program is to see.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  pid_ = SpawnProgram(program, args, actions);
  posix_spawn_file_actions_destroy(&actions);
  ::close(outWrite);
  ::close(errWrite);
  if (pid_ <= 0) throw std::runtime_error("cannot start " + program);
}

BackgroundProgram::~BackgroundProgram() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ::close(out_.fd);
  ::close(err_.fd);
}

std::optional<std::string> BackgroundProgram::ReadLine(Stream& stream, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const std::size_t end = stream.buffered.find('\n');
    if (end != std::string::npos) {
      std::string line = stream.buffered.substr(0, end);
      stream.buffered.erase(0, end + 1);
      return line;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd pfd{stream.fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
    char buffer[4096];
    const ssize_t n = ::read(stream.fd, buffer, sizeof buffer);
    if (n <= 0) return std::nullopt;
    stream.buffered.append(buffer, static_cast<std::size_t>(n));
  }
}

void BackgroundProgram::CloseOut() {
  ::close(out_.fd);
  out_.fd = -1;
}

void BackgroundProgram::Signal(int signal) const { ::kill(pid_, signal); }

int BackgroundProgram::WaitForExit(int timeoutMs) { return WaitForChild(pid_, timeoutMs); }

}  // namespace portprobe::testing
