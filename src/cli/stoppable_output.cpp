#include "cli/stoppable_output.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace portprobe::cli {

StoppableOutput::Result StoppableOutput::Write(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    if (stopped_ || !WaitForRoom()) return Result::Stopped;
    const std::size_t piece = std::min<std::size_t>(text.size() - done, PIPE_BUF);
    const ssize_t written = ::write(fd_, text.data() + done, piece);
    if (written < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (written <= 0) return Result::Failed;
    done += static_cast<std::size_t>(written);
  }
  return Result::Written;
}

// A descriptor that takes more wins over a stop that came meanwhile, so what is
// printed at a stop still goes out while the reader reads; false once stopped.
bool StoppableOutput::WaitForRoom() {
  for (;;) {
    pollfd fds[] = {{fd_, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
    const int ready = ::poll(fds, 2, -1);
    if (ready < 0 && errno == EINTR) continue;
    // An error or a hang-up of the descriptor is left to the write to report.
    if (ready < 0 || fds[0].revents != 0) return true;
    if (fds[1].revents != 0) {
      stopped_ = true;
      return false;
    }
  }
}

}  // namespace portprobe::cli
