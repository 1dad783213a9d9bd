#pragma once

#include <string>

namespace portprobe::cli {

// Writes to a descriptor that may stall (a paused pager, a terminal stopped with
// Ctrl-S) without ever blocking past a stop signal: each piece goes out with write(2)
// only once poll() says the descriptor takes it, and a readable stop descriptor ends
// the waiting. Pieces are at most PIPE_BUF bytes, so a pipe takes each whole.
class StoppableOutput {
 public:
  enum class Result { Written, Stopped, Failed };

  // `stopFd` may be -1: then only the descriptor is waited for.
  StoppableOutput(int fd, int stopFd) : fd_(fd), stopFd_(stopFd) {}

  // Writes all of `text` unless a stop comes while the descriptor takes nothing; the
  // rest is then dropped, and so is everything written after it.
  Result Write(const std::string& text);

 private:
  bool WaitForRoom();

  int fd_;
  int stopFd_;
  bool stopped_ = false;
};

}  // namespace portprobe::cli
