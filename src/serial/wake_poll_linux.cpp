#include "serial/wake_poll_linux.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace portprobe {

int CreateWakeFd() { return ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

void SignalWake(int wakeFd) {
  if (wakeFd < 0) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeFd, &one, sizeof one);
}

std::optional<PortDevice::Readiness> PollBesideWake(int fd, int wakeFd, bool read, bool write,
                                                    int timeoutMilliseconds) {
  const short wanted = static_cast<short>((read ? POLLIN : 0) | (write ? POLLOUT : 0));
  pollfd fds[2] = {{fd, wanted, 0}, {wakeFd, POLLIN, 0}};
  if (::poll(fds, 2, timeoutMilliseconds) < 0) {
    if (errno == EINTR) return PortDevice::Readiness{};
    return std::nullopt;
  }
  if (fds[1].revents != 0) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t drained = ::read(wakeFd, &count, sizeof count);
    return PortDevice::Readiness{.woken = true};
  }
  const short events = fds[0].revents;
  return PortDevice::Readiness{.readable = (events & POLLIN) != 0,
                               .writable = (events & POLLOUT) != 0,
                               .hungUp = (events & (POLLHUP | POLLERR | POLLNVAL)) != 0};
}

}  // namespace portprobe
