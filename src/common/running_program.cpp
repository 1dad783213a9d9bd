#include "common/running_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "common/file_head.h"
#include "common/spawn_file_actions.h"

namespace portprobe {

namespace {

// An anonymous file for the program's output: it disappears with its last descriptor.
int OpenUnlinkedTemporaryFile() {
  std::error_code error;
  std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  if (error) directory = "/tmp";
  std::string name = (directory / "portprobe-XXXXXX").string();
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(name.c_str());
  return fd;
}

// The null-terminated char* array that posix_spawn wants, pointing into `strings`.
std::vector<char*> CStringArray(const std::vector<std::string>& strings) {
  std::vector<char*> array;
  array.reserve(strings.size() + 1);
  for (const std::string& s : strings) array.push_back(const_cast<char*>(s.c_str()));
  array.push_back(nullptr);
  return array;
}

// Owns the attributes of one posix_spawn call: the program leads a process group of
// its own, so that whatever it starts can be stopped with it.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    ::posix_spawnattr_init(&attributes_);
    ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETPGROUP);
    ::posix_spawnattr_setpgroup(&attributes_, 0);
  }
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;

  posix_spawnattr_t* get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

}  // namespace

RunningProgram::RunningProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
    : output_(OpenUnlinkedTemporaryFile()) {
  if (output_.get() < 0) {
    startError_ = errno;
    ended_ = true;
    return;
  }
  Start(arguments, environment);
}

RunningProgram::~RunningProgram() { Kill(); }

void RunningProgram::Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
  SpawnFileActions actions;
  ::posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_adddup2(actions.get(), output_.get(), STDOUT_FILENO);
  const std::vector<char*> argv = CStringArray(arguments);
  const std::vector<char*> envp = CStringArray(environment);
  SpawnAttributes attributes;
  startError_ = ::posix_spawn(&processId_, argv[0], actions.get(), attributes.get(), argv.data(), envp.data());
  ended_ = startError_ != 0;
}

bool RunningProgram::HasEnded() {
  if (!ended_) Reap(WNOHANG);
  return ended_;
}

void RunningProgram::Wait() {
  while (!ended_) Reap(0);
}

// The whole group goes: the program and what it started (a `sleep`, a pipeline).
// Until the program is reaped its id still names its group, which no other group
// can have meanwhile.
void RunningProgram::Kill() {
  if (ended_) return;
  ::kill(-processId_, SIGKILL);
  Wait();
}

// One waitpid call. Only a child that has not been reaped yet is waited for or sent
// a signal, so its process id can never have been reused by then.
void RunningProgram::Reap(int options) {
  int status = 0;
  const pid_t result = ::waitpid(processId_, &status, options);
  if (result == processId_) {
    ended_ = true;
    waitStatus_ = status;
  } else if (result < 0 && errno != EINTR) {
    ended_ = true;  // reaped elsewhere (SIGCHLD ignored): its status is lost
  }
}

std::optional<int> RunningProgram::ExitStatus() const {
  if (!waitStatus_ || !WIFEXITED(*waitStatus_)) return std::nullopt;
  return WEXITSTATUS(*waitStatus_);
}

std::string RunningProgram::OutputHead(std::size_t maxBytes) const {
  if (output_.get() < 0) return {};
  const std::optional<ByteFrame> head = ReadFileHead(output_.get(), maxBytes);
  return head ? std::string(head->begin(), head->end()) : std::string();
}

}  // namespace portprobe
