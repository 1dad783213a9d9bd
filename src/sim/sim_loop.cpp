#include "sim/sim_loop.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>

#include "common/unique_fd.h"

namespace portprobe::sim {

namespace {

// While nobody has a pseudo-terminal's device open the master only reports a hang-up,
// so the loop looks again at this interval instead of polling the master.
constexpr int kOpenCheckMs = 50;
constexpr std::size_t kReadChunk = 4096;

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

// The ending signals arrive on a descriptor, so one poll waits for them, the device
// and the watched process together, without a race against a handler.
int OpenSignalFd() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signal);
  if (::sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) ThrowErrno("sigprocmask");
  const int fd = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (fd < 0) ThrowErrno("signalfd");
  return fd;
}

int OpenPidFd(int pid) {
  if (pid == 0) return -1;
  // Through syscall(): the C library's header for pidfd_open cannot be used from C++.
  const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (fd < 0) ThrowErrno("--watch-pid");
  return fd;
}

void Note(const char* text) { std::fprintf(stderr, "portprobe-sim: %s\n", text); }

class SimLoop {
 public:
  SimLoop(DeviceEnd& device, Role& role, const SimOptions& options)
      : device_(device),
        role_(role),
        stay_(options.stay),
        signals_(OpenSignalFd()),
        watched_(OpenPidFd(options.watchPid)) {}

  void Run() {
    for (;;) {
      pollfd fds[] = {{signals_.get(), POLLIN, 0}, {watched_.get(), POLLIN, 0}, {DevicePollFd(), DeviceEvents(), 0}};
      if (::poll(fds, 3, TimeoutMs()) < 0 && errno != EINTR) ThrowErrno("poll");
      if (fds[0].revents) return Note("stopped");
      if (fds[1].revents) return Note("the watched process ended");
      if (!deviceOpen_) {
        deviceOpen_ = device_.TerminalThere();
        if (!deviceOpen_) device_.TerminalGone();
      } else if (!Exchange(fds[2].revents)) {
        deviceOpen_ = false;
        device_.TerminalGone();
        out_.clear();
        role_.Forget();
        if (!stay_) return Note("the terminal closed the device");
      }
      TickIfDue();
    }
  }

 private:
  int DevicePollFd() const { return deviceOpen_ ? device_.Fd() : device_.ArrivalFd(); }
  short DeviceEvents() const { return out_.empty() ? POLLIN : POLLIN | POLLOUT; }

  int TimeoutMs() const {
    if (!deviceOpen_) return device_.ArrivalFd() >= 0 ? -1 : kOpenCheckMs;
    const std::optional<Clock::time_point> tick = role_.NextTick();
    if (!out_.empty() || !tick) return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*tick - Clock::now()).count();
    return static_cast<int>(std::clamp<decltype(wait)>(wait, 0, 60'000));
  }

  // Reads what the terminal sent and writes what the device has to send; false when
  // the terminal has closed the device.
  bool Exchange(short revents) {
    if (revents & POLLIN) {
      std::uint8_t buffer[kReadChunk];
      const ssize_t n = ::read(device_.Fd(), buffer, sizeof buffer);
      if (n > 0) role_.Receive({buffer, static_cast<std::size_t>(n)}, Clock::now(), out_);
      if (n == 0 || (n < 0 && errno != EAGAIN)) return false;
    } else if (revents & (POLLHUP | POLLERR)) {
      return false;
    }
    if (revents & POLLOUT) {
      const ssize_t n = ::write(device_.Fd(), out_.data(), out_.size());
      if (n < 0 && errno != EAGAIN) return false;
      if (n > 0) out_.erase(out_.begin(), out_.begin() + n);
    }
    return true;
  }

  // A role sends on its own only when the device has taken everything before.
  void TickIfDue() {
    const std::optional<Clock::time_point> tick = role_.NextTick();
    const Clock::time_point now = Clock::now();
    if (deviceOpen_ && out_.empty() && tick && now >= *tick) role_.Tick(now, out_);
  }

  DeviceEnd& device_;
  Role& role_;
  const bool stay_;
  const UniqueFd signals_;
  const UniqueFd watched_;
  ByteFrame out_;            // bytes the device still has to send
  bool deviceOpen_ = false;  // the terminal has the device open
};

}  // namespace

void RunSimulator(DeviceEnd& device, Role& role, const SimOptions& options) {
  SimLoop(device, role, options).Run();
}

}  // namespace portprobe::sim
