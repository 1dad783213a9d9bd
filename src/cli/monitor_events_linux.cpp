#include "cli/monitor_events.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace portprobe::cli {

namespace {

bool Ignored(int signal) {
  struct sigaction current {};
  ::sigaction(signal, nullptr, &current);
  return current.sa_handler == SIG_IGN;
}

// Ctrl-C, SIGTERM and SIGHUP arrive on a descriptor that the waits watch; -1 when none
// could be made, and the signals then act as they would without it. A blocked signal
// is held for the descriptor even when ignored, so ignored ones are left out of the set.
int OpenSignalFd() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    if (!Ignored(signal)) sigaddset(&signals, signal);
  }
  if (::sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) return -1;
  const int fd = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (fd < 0) ::sigprocmask(SIG_UNBLOCK, &signals, nullptr);
  return fd;
}

// A reader that went away is a failed write: StartProgram ignores SIGPIPE.
int OpenWakeFd() { return ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

}  // namespace

MonitorEvents::MonitorEvents() : stop_(OpenSignalFd()), wake_(OpenWakeFd()) {}

MonitorEvents::~MonitorEvents() {
  for (const std::intptr_t fd : {stop_, wake_}) {
    if (fd >= 0) ::close(static_cast<int>(fd));
  }
}

bool MonitorEvents::Ready() const { return wake_ >= 0; }

void MonitorEvents::Wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(static_cast<int>(wake_), &one, sizeof one);
}

bool MonitorEvents::Wait(int timeoutMilliseconds) {
  pollfd fds[] = {{static_cast<int>(stop_), POLLIN, 0}, {static_cast<int>(wake_), POLLIN, 0}};
  const int ready = ::poll(fds, 2, timeoutMilliseconds);
  if (ready < 0) return errno != EINTR;
  if (fds[1].revents & POLLIN) {
    std::uint64_t wakes = 0;
    [[maybe_unused]] const ssize_t drained = ::read(static_cast<int>(wake_), &wakes, sizeof wakes);
  }
  // The signal is left unread, so the descriptor stays readable for StoppableOutput.
  return fds[0].revents != 0;
}

}  // namespace portprobe::cli
