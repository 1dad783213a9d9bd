// termios2 lets a line run at any rate.
#include "serial/line_settings_linux.h"

#include <sys/ioctl.h>

#include <cstring>

#include "serial/termios_rows.h"

namespace portprobe {

namespace {

speed_t StandardSpeedCode(std::uint32_t rate) {
  switch (rate) {
    case 300:
      return B300;
    case 600:
      return B600;
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    case 230400:
      return B230400;
    case 460800:
      return B460800;
    case 921600:
      return B921600;
    case 1000000:
      return B1000000;
    case 1500000:
      return B1500000;
    case 2000000:
      return B2000000;
    case 3000000:
      return B3000000;
    default:
      return 0;
  }
}

void MakeRaw(struct termios2& tio) {
  tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL);
  tio.c_oflag &= ~OPOST;
  tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
}

// The input speed follows the output speed: an input speed left by another program
// (stty ispeed) would otherwise go on receiving at its own rate.
void SetRate(struct termios2& tio, std::uint32_t rate) {
  tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  const speed_t code = StandardSpeedCode(rate);
  tio.c_cflag |= code != 0 ? code : BOTHER;
  tio.c_ispeed = rate;
  tio.c_ospeed = rate;
}

bool RateKept(const struct termios2& wanted, const struct termios2& actual, std::uint32_t rate) {
  if ((wanted.c_cflag & CBAUD) != BOTHER) return (actual.c_cflag & CBAUD) == (wanted.c_cflag & CBAUD);
  return RateWithinTolerance(actual.c_ospeed, rate);
}

// Only the chosen pacing: a driver's leftover XON/XOFF would swallow 0x11 and 0x13
// from binary data, and leftover RTS/CTS would stall a device without the lines wired.
void SetFlowControl(struct termios2& tio, FlowControl flowControl) {
  tio.c_cflag &= ~CRTSCTS;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (flowControl == FlowControl::RtsCts) tio.c_cflag |= CRTSCTS;
  if (flowControl == FlowControl::XonXoff) tio.c_iflag |= IXON | IXOFF;
}

}  // namespace

void SetLineSettings(struct termios2& tio, const LineSettings& settings) {
  MakeRaw(tio);
  if (settings.baudRate != 0) SetRate(tio, settings.baudRate);
  if (ValidRow(settings.dataBitsRow, kDataBitsRows)) {
    static constexpr tcflag_t kSizes[] = {CS8, CS7, CS6, CS5};
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | kSizes[settings.dataBitsRow];
  }
  if (ValidRow(settings.parityRow, kParityRows)) {
    // Mark and space are the fixed parity bit (CMSPAR): 1 with PARODD, 0 without.
    static constexpr tcflag_t kParities[] = {0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD, PARENB | CMSPAR};
    tio.c_cflag = (tio.c_cflag & ~(PARENB | PARODD | CMSPAR)) | kParities[settings.parityRow];
  }
  if (ValidRow(settings.stopBitsRow, kStopBitsRows)) {
    tio.c_cflag &= ~CSTOPB;
    if (settings.stopBitsRow != 0) tio.c_cflag |= CSTOPB;  // 2, or 1.5 at 5 data bits
  }
  SetFlowControl(tio, settings.flowControl);
}

ApplyResult ApplyLineSettings(int fd, const LineSettings& settings) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return ApplyResult::NotATerminal;
  SetLineSettings(tio, settings);
  if (ioctl(fd, TCSETS2, &tio) != 0) return ApplyResult::Refused;
  struct termios2 actual {};
  if (ioctl(fd, TCGETS2, &actual) != 0) return ApplyResult::Refused;
  if (settings.baudRate != 0 && !RateKept(tio, actual, settings.baudRate)) return ApplyResult::Refused;
  return ApplyResult::Applied;
}

static_assert(sizeof(termios2) <= 64);

bool SavedLineSettings::Save(int fd) {
  struct termios2 tio {};
  saved_ = ioctl(fd, TCGETS2, &tio) == 0;
  if (saved_) std::memcpy(bytes_.data(), &tio, sizeof tio);
  return saved_;
}

void SavedLineSettings::Restore(int fd) const {
  if (!saved_) return;
  struct termios2 tio {};
  std::memcpy(&tio, bytes_.data(), sizeof tio);
  ioctl(fd, TCSETS2, &tio);  // a device that has gone away keeps nothing anyway
}

}  // namespace portprobe
