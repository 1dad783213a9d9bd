#include "support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace portprobe::testing {

pid_t SpawnProgram(const std::string& program, const std::vector<std::string>& args,
                   const posix_spawn_file_actions_t& actions) {
  std::vector<std::string> words = {program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  return ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

int WaitForChild(pid_t& pid, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace portprobe::testing
