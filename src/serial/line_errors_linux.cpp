#include "serial/line_errors_linux.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace portprobe {

bool LineErrorCounters::Read(int fd, Counts* counts) {
  serial_icounter_struct icount{};
  if (ioctl(fd, TIOCGICOUNT, &icount) != 0) return false;
  *counts = {icount.frame, icount.overrun, icount.parity, icount.brk, icount.buf_overrun};
  return true;
}

void LineErrorCounters::Reset(int fd) {
  std::lock_guard lock(mutex_);
  last_ = {};
  Read(fd, &last_);
}

bool LineErrorCounters::TakeErrors(int fd) {
  std::lock_guard lock(mutex_);
  Counts now;
  if (!Read(fd, &now)) return false;
  const bool changed = !(now == last_);
  last_ = now;
  return changed;
}

}  // namespace portprobe
