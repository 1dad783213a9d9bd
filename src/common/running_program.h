#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace portprobe {

// A child process started directly, without a shell. A program still running when
// this object goes away is killed (and on Linux reaped).
// - Linux: it leads a process group of its own; its standard input is /dev/null and
//   its standard output goes to an unlinked temporary file rather than a pipe, so a
//   program that writes a lot can never block on a full pipe; the output is read
//   after it ends.
// - Windows: it runs with a hidden window, in a job object of its own (the process
//   group's counterpart), and inherits the terminal's handles; its output is not kept.
class RunningProgram {
 public:
  // Starts the program at `path` (never searched for) with the terminal's environment,
  // in which each "NAME=value" of `addedEnvironment` replaces or adds that variable.
  // On Linux each argument is one argv entry after the path. On Windows the program
  // gets one command line: the path in quotes followed directly by the arguments as
  // they are, so the caller writes any separators.
  RunningProgram(const std::string& path, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& addedEnvironment);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Empty when the program runs, else the system's reason why it could not start.
  const std::string& StartFailure() const;
  std::int64_t ProcessId() const;

  // Does not block. A program that failed to start counts as ended.
  bool HasEnded();
  // Blocks until the program has ended.
  void Wait();
  // Ends the program with every process it started (its group on Linux, by SIGKILL;
  // its job on Windows) and waits for it.
  void Kill();

  // The exit code of a program that has ended by itself: 0..255 on Linux, the whole
  // 32-bit code on Windows. Nothing when it was killed (or on Linux ended by a
  // signal), failed to start or has not ended yet.
  std::optional<std::uint32_t> ExitStatus() const;
  // The first maxBytes bytes (at most) that the program wrote to its standard output;
  // always empty on Windows.
  std::string OutputHead(std::size_t maxBytes) const;

 private:
  struct Process;
  std::unique_ptr<Process> process_;
};

// Linux tells variables apart by case, Windows does not (Path is PATH).
enum class NameCase { Sensitive, Ignored };

// The environment `current` ("NAME=value" entries) with each entry of `added`
// replacing any of the same name, the added ones last.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& current,
                                         const std::vector<std::string>& added,
                                         NameCase nameCase = NameCase::Sensitive);

}  // namespace portprobe
