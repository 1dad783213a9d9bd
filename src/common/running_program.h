#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/unique_fd.h"

namespace portprobe {

// A child process started without a shell, leading a process group of its own. Its standard input is /dev/null and its
// standard output goes to an unlinked temporary file rather than a pipe, so a program
// that writes a lot can never block on a full pipe; the output is read after it ends.
// A program still running when this object goes away is killed and reaped.
class RunningProgram {
 public:
  // Starts arguments[0] (a path, not searched in PATH) with `arguments` as its argv
  // and `environment` ("NAME=value" entries) as its whole environment.
  RunningProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // errno of a failed start (ENOENT, EACCES, ENOEXEC, ...), 0 when the program runs.
  int StartError() const { return startError_; }
  pid_t ProcessId() const { return processId_; }

  // Does not block. A program that failed to start counts as ended.
  bool HasEnded();
  // Blocks until the program has ended.
  void Wait();
  // Ends the program and every process of its group with SIGKILL, and reaps it.
  void Kill();

  // The exit status (0..255) of a program that has ended by itself; nothing when it
  // was ended by a signal, failed to start or has not ended yet.
  std::optional<int> ExitStatus() const;
  // The first maxBytes bytes (at most) that the program wrote to its standard output.
  std::string OutputHead(std::size_t maxBytes) const;

 private:
  void Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment);
  void Reap(int options);

  UniqueFd output_;
  pid_t processId_ = -1;
  int startError_ = 0;
  bool ended_ = false;
  std::optional<int> waitStatus_;
};

}  // namespace portprobe
