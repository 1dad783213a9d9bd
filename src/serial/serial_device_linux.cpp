// A tty's file descriptor, locked for this process, polled beside an eventfd.
#include "serial/serial_device.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "serial/line_errors_linux.h"
#include "serial/line_settings_linux.h"
#include "serial/modem_lines.h"
#include "serial/wake_poll_linux.h"

namespace portprobe {

struct SerialDevice::Native {
  int fd = -1;
  int wakeFd = -1;
  LineErrorCounters lineErrors;
  SavedLineSettings savedSettings;
};

namespace {

SerialDevice::Opening FailedOpening(int error) {
  using enum SerialDevice::Opening;
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return Missing;
    case EBUSY:  // TIOCEXCL, which the kernel keeps after its setter has ended
      return ExclusiveLock;
    case EACCES:
    case EPERM:
      return Denied;
    case EISDIR:
      return NotAPort;
    default:
      return Failed;
  }
}

// The flock is held by a running program only: the kernel drops it with the process.
SerialDevice::Opening OpenExclusive(const std::string& path, int& fd) {
  fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return FailedOpening(errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    fd = -1;
    return SerialDevice::Opening::Held;
  }
  ::ioctl(fd, TIOCEXCL);  // not a tty: the settings step reports it
  return SerialDevice::Opening::Opened;
}

// A device that has not taken its last bytes shortly after the close is stuck (flow
// control held, a hung adapter); the driver would hold the close for up to half a
// minute waiting for it, so its output is discarded instead.
void DiscardStuckOutput(int fd) {
  constexpr int kGraceMilliseconds = 100, kStep = 10;
  for (int waited = 0; waited < kGraceMilliseconds; waited += kStep) {
    int pending = 0;
    if (::ioctl(fd, TIOCOUTQ, &pending) != 0 || pending == 0) return;
    ::usleep(kStep * 1000);
  }
  ::tcflush(fd, TCOFLUSH);
}

std::uint32_t InputsOf(int bits) {
  std::uint32_t inputs = 0;
  if (bits & TIOCM_CTS) inputs |= kCtsLine;
  if (bits & TIOCM_DSR) inputs |= kDsrLine;
  if (bits & TIOCM_RI) inputs |= kRiLine;
  if (bits & TIOCM_CD) inputs |= kDcdLine;
  return inputs;
}

}  // namespace

SerialDevice::SerialDevice() : native_(std::make_unique<Native>()) {}

SerialDevice::~SerialDevice() { Close(); }

SerialDevice::Opening SerialDevice::Open(const std::string& path) {
  Close();
  const Opening opening = OpenExclusive(path, native_->fd);
  if (opening == Opening::Opened) native_->savedSettings.Save(native_->fd);
  return opening;
}

bool SerialDevice::IsOpen() const { return native_->fd >= 0; }

// The device is given back as it was found: its own settings, and open to others.
void SerialDevice::Close() {
  if (native_->wakeFd >= 0) ::close(native_->wakeFd);
  if (native_->fd >= 0) {
    DiscardStuckOutput(native_->fd);
    native_->savedSettings.Restore(native_->fd);
    ::ioctl(native_->fd, TIOCNXCL);
    ::close(native_->fd);
  }
  native_->wakeFd = -1;
  native_->fd = -1;
}

ApplyResult SerialDevice::ApplySettings(const LineSettings& settings) { return ApplyLineSettings(native_->fd, settings); }

bool SerialDevice::CreateWake() {
  native_->wakeFd = CreateWakeFd();
  return native_->wakeFd >= 0;
}

void SerialDevice::Wake() { SignalWake(native_->wakeFd); }

std::optional<SerialDevice::Readiness> SerialDevice::Wait(bool read, bool write, int timeoutMilliseconds) {
  return PollBesideWake(native_->fd, native_->wakeFd, read, write, timeoutMilliseconds);
}

std::optional<std::size_t> SerialDevice::Read(std::span<std::uint8_t> buffer) {
  ssize_t n;
  do {
    n = ::read(native_->fd, buffer.data(), buffer.size());
  } while (n < 0 && errno == EINTR);
  if (n > 0) return static_cast<std::size_t>(n);
  // End of file or EIO: the far end is gone. EAGAIN: someone else took the bytes.
  if (n == 0 || errno != EAGAIN) return std::nullopt;
  return 0;
}

std::optional<std::size_t> SerialDevice::Write(std::span<const std::uint8_t> bytes) {
  ssize_t n;
  do {
    n = ::write(native_->fd, bytes.data(), bytes.size());
  } while (n < 0 && errno == EINTR);
  if (n >= 0) return static_cast<std::size_t>(n);
  if (errno == EAGAIN) return 0;
  return std::nullopt;
}

void SerialDevice::ResetLineErrors() { native_->lineErrors.Reset(native_->fd); }

bool SerialDevice::TakeLineErrors() { return native_->lineErrors.TakeErrors(native_->fd); }

void SerialDevice::FlushInput() { ::tcflush(native_->fd, TCIFLUSH); }

void SerialDevice::FlushOutput() { ::tcflush(native_->fd, TCOFLUSH); }

std::optional<std::uint32_t> SerialDevice::ModemInputs() {
  int bits = 0;
  if (::ioctl(native_->fd, TIOCMGET, &bits) != 0) return std::nullopt;
  return InputsOf(bits);
}

// A driver's other outputs (OUT1, OUT2, LOOP) stay as they are.
void SerialDevice::SetModemOutputs(bool rts, bool dtr) {
  int raise = 0, lower = 0;
  (rts ? raise : lower) |= TIOCM_RTS;
  (dtr ? raise : lower) |= TIOCM_DTR;
  if (raise != 0) ::ioctl(native_->fd, TIOCMBIS, &raise);
  if (lower != 0) ::ioctl(native_->fd, TIOCMBIC, &lower);
}

bool SerialDevice::SetBreak(bool on) { return ::ioctl(native_->fd, on ? TIOCSBRK : TIOCCBRK) == 0; }

}  // namespace portprobe
