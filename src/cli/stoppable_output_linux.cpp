#include "cli/stoppable_output.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace portprobe::cli {

// Each piece goes out with write(2) only once poll() says stdout takes it, and a
// readable stop descriptor ends the waiting. Pieces are at most PIPE_BUF bytes, so a
// pipe takes each whole.
struct StoppableOutput::Writer {
  int fd;
  int stopFd;  // may be -1: then only stdout is waited for
  bool stopped = false;

  bool WaitForRoom();
};

StoppableOutput::StoppableOutput(const MonitorEvents& events)
    : writer_(new Writer{STDOUT_FILENO, static_cast<int>(events.StopHandle())}) {}

StoppableOutput::~StoppableOutput() = default;

StoppableOutput::Result StoppableOutput::Write(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    if (writer_->stopped || !writer_->WaitForRoom()) return Result::Stopped;
    const std::size_t piece = std::min<std::size_t>(text.size() - done, PIPE_BUF);
    const ssize_t written = ::write(writer_->fd, text.data() + done, piece);
    if (written < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (written <= 0) return Result::Failed;
    done += static_cast<std::size_t>(written);
  }
  return Result::Written;
}

// Each write has gone out whole before Write returned.
StoppableOutput::Result StoppableOutput::Flush() { return writer_->stopped ? Result::Stopped : Result::Written; }

// A descriptor that takes more wins over a stop that came meanwhile, so what is
// printed at a stop still goes out while the reader reads; false once stopped.
bool StoppableOutput::Writer::WaitForRoom() {
  for (;;) {
    pollfd fds[] = {{fd, POLLOUT, 0}, {stopFd, POLLIN, 0}};
    const int ready = ::poll(fds, 2, -1);
    if (ready < 0 && errno == EINTR) continue;
    // An error or a hang-up of the descriptor is left to the write to report.
    if (ready < 0 || fds[0].revents != 0) return true;
    if (fds[1].revents != 0) {
      stopped = true;
      return false;
    }
  }
}

}  // namespace portprobe::cli
