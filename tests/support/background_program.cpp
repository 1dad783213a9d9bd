#include "support/background_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "common/spawn_file_actions.h"
#include "common/unique_fd.h"
#include "support/child_process.h"

namespace portprobe::testing {

namespace {

// The write end of a new pipe, which becomes `target` in the child; the read end goes
// to `readEnd`.
int PipeInto(SpawnFileActions& actions, int target, int& readEnd) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_adddup2(actions.get(), ends[1], target);
  readEnd = ends[0];
  return ends[1];
}

}  // namespace

BackgroundProgram::BackgroundProgram(const std::string& program, const std::vector<std::string>& args) {
  // The write ends are the child's alone; the read ends close with their streams.
  SpawnFileActions actions;
  const UniqueFd outWrite(PipeInto(actions, STDOUT_FILENO, out_.fd));
  const UniqueFd errWrite(PipeInto(actions, STDERR_FILENO, err_.fd));
  // Nothing else of the test's, such as the master of a pseudo-terminal whose closing
  // the program is to see.
  posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1);
  pid_ = SpawnProgram(program, args, *actions.get());
  if (pid_ <= 0) throw std::runtime_error("cannot start " + program);
}

BackgroundProgram::~BackgroundProgram() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
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
