#include "cli/stop_signals.h"

#include <csignal>
#include <initializer_list>
#include <sys/signalfd.h>

namespace portprobe::cli {

namespace {

bool Ignored(int signal) {
  struct sigaction current {};
  ::sigaction(signal, nullptr, &current);
  return current.sa_handler == SIG_IGN;
}

}  // namespace

StopSignals::StopSignals() : fd_(OpenSignalFd()) {}

// A blocked signal is held for the descriptor even when ignored, so ignored ones are
// left out of the set.
int StopSignals::OpenSignalFd() {
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

}  // namespace portprobe::cli
