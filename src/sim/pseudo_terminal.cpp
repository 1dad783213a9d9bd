#include "sim/pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

#include <cstdint>

namespace portprobe::sim {

namespace {

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

int OpenMaster() {
  const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) ThrowErrno("posix_openpt");
  return fd;
}

// Opening and closing the device side once also makes the kernel report a hang-up on
// the master until the terminal opens it, which DeviceOpen relies on.
void MakeDeviceRaw(const std::string& path) {
  const UniqueFd device(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (device.get() < 0) ThrowErrno("open pseudo-terminal device");
  termios settings{};
  if (::tcgetattr(device.get(), &settings) != 0) ThrowErrno("tcgetattr");
  ::cfmakeraw(&settings);
  if (::tcsetattr(device.get(), TCSANOW, &settings) != 0) ThrowErrno("tcsetattr");
}

}  // namespace

PseudoTerminal::PseudoTerminal() : master_(OpenMaster()) {
  char name[128] = {};
  if (::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0 ||
      ::ptsname_r(master_.get(), name, sizeof name) != 0) {
    ThrowErrno("pseudo-terminal device");
  }
  devicePath_ = name;
  MakeDeviceRaw(devicePath_);
}

// What a terminal sent before it closed the device belongs to no exchange: the next
// terminal must not be answered for it.
void PseudoTerminal::TerminalGone() {
  std::uint8_t buffer[4096];
  while (::read(master_.get(), buffer, sizeof buffer) > 0) {
  }
}

bool PseudoTerminal::DeviceOpen() const {
  pollfd pfd{master_.get(), 0, 0};
  return ::poll(&pfd, 1, 0) >= 0 && !(pfd.revents & POLLHUP);
}

}  // namespace portprobe::sim
