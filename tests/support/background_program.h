#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

namespace portprobe::testing {

// A program run as a real process beside the test, whose stdout and stderr the test
// reads line by line as it writes them. It inherits no other descriptor of the test.
// Still running at destruction, it is killed.
// Waits are bounded only so that a broken program cannot hang the test.
class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program, const std::vector<std::string>& args);
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  // The next line of stdout or stderr, without its LF; nothing once the stream has
  // ended, or when no line came within `timeoutMs`.
  std::optional<std::string> OutLine(int timeoutMs = 10000) { return ReadLine(out_, timeoutMs); }
  std::optional<std::string> ErrLine(int timeoutMs = 10000) { return ReadLine(err_, timeoutMs); }

  // Stops reading stdout, as a pipe's reader that went away.
  void CloseOut();

  pid_t Pid() const { return pid_; }
  void Signal(int signal) const;
  // The exit status once the program has ended, or -1 when it was ended by a signal or
  // is still running after `timeoutMs`.
  int WaitForExit(int timeoutMs = 10000);

 private:
  // Closes its end of the pipe however the program ends, even when it never started.
  struct Stream {
    Stream() = default;
    ~Stream() {
      if (fd >= 0) ::close(fd);
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    int fd = -1;
    std::string buffered;
  };
  static std::optional<std::string> ReadLine(Stream& stream, int timeoutMs);

  pid_t pid_ = -1;
  Stream out_;
  Stream err_;
};

}  // namespace portprobe::testing
