#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/file_head.h"
#include "common/running_program.h"
#include "common/spawn_file_actions.h"
#include "common/unique_fd.h"

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

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  return environment;
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

struct RunningProgram::Process {
  // One waitpid call. Only a child that has not been reaped yet is waited for or sent
  // a signal, so its process id can never have been reused by then.
  void Reap(int options) {
    int status = 0;
    const pid_t result = ::waitpid(id, &status, options);
    if (result == id) {
      ended = true;
      waitStatus = status;
    } else if (result < 0 && errno != EINTR) {
      ended = true;  // reaped elsewhere (SIGCHLD ignored): its status is lost
    }
  }

  UniqueFd output{OpenUnlinkedTemporaryFile()};
  pid_t id = -1;
  std::string startFailure;
  bool ended = false;
  std::optional<int> waitStatus;
};

RunningProgram::RunningProgram(const std::string& path, const std::vector<std::string>& arguments,
                               const std::vector<std::string>& addedEnvironment)
    : process_(std::make_unique<Process>()) {
  int error = process_->output.get() < 0 ? errno : 0;
  if (error == 0) {
    SpawnFileActions actions;
    ::posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(actions.get(), process_->output.get(), STDOUT_FILENO);
    std::vector<std::string> argv = {path};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const std::vector<std::string> environment = EnvironmentWith(CurrentEnvironment(), addedEnvironment);
    SpawnAttributes attributes;
    error = ::posix_spawn(&process_->id, path.c_str(), actions.get(), attributes.get(), CStringArray(argv).data(),
                          CStringArray(environment).data());
  }
  if (error != 0) {
    process_->startFailure = std::generic_category().message(error);
    process_->ended = true;
  }
}

RunningProgram::~RunningProgram() { Kill(); }

const std::string& RunningProgram::StartFailure() const { return process_->startFailure; }

std::int64_t RunningProgram::ProcessId() const { return process_->id; }

bool RunningProgram::HasEnded() {
  if (!process_->ended) process_->Reap(WNOHANG);
  return process_->ended;
}

void RunningProgram::Wait() {
  while (!process_->ended) process_->Reap(0);
}

// The whole group goes: the program and what it started (a `sleep`, a pipeline).
// Until the program is reaped its id still names its group, which no other group
// can have meanwhile.
void RunningProgram::Kill() {
  if (process_->ended) return;
  ::kill(-process_->id, SIGKILL);
  Wait();
}

std::optional<std::uint32_t> RunningProgram::ExitStatus() const {
  const std::optional<int>& status = process_->waitStatus;
  if (!status || !WIFEXITED(*status)) return std::nullopt;
  return static_cast<std::uint32_t>(WEXITSTATUS(*status));
}

std::string RunningProgram::OutputHead(std::size_t maxBytes) const {
  if (process_->output.get() < 0) return {};
  const std::optional<ByteFrame> head = ReadFileHead(process_->output.get(), maxBytes);
  return head ? std::string(head->begin(), head->end()) : std::string();
}

}  // namespace portprobe
