#include "serial/modem_lines.h"

#include <sys/ioctl.h>

#include <algorithm>

namespace portprobe {

namespace {

std::uint32_t InputsOf(int bits) {
  std::uint32_t inputs = 0;
  if (bits & TIOCM_CTS) inputs |= kCtsLine;
  if (bits & TIOCM_DSR) inputs |= kDsrLine;
  if (bits & TIOCM_RI) inputs |= kRiLine;
  if (bits & TIOCM_CD) inputs |= kDcdLine;
  return inputs;
}

}  // namespace

void ModemLines::SetOutputs(bool rts, bool dtr) {
  const std::uint32_t outputs = (rts ? kRtsOutput : 0) | (dtr ? kDtrOutput : 0);
  if (outputs_.exchange(outputs) != outputs) outputsChanged_ = true;
}

void ModemLines::Attach(int fd) {
  int bits = 0;
  supported_ = ::ioctl(fd, TIOCMGET, &bits) == 0;
  outputsChanged_ = false;
  breakRequested_ = false;
  breakEnds_.reset();
  reported_.reset();
  nextRead_ = {};
  if (supported_) ApplyOutputs(fd);
}

void ModemLines::Detach(int fd) {
  if (breakEnds_) ::ioctl(fd, TIOCCBRK);
  breakEnds_.reset();
  breakRequested_ = false;
}

// Only RTS and DTR are touched; a driver's other outputs (OUT1, OUT2, LOOP) stay.
void ModemLines::ApplyOutputs(int fd) const {
  const std::uint32_t outputs = outputs_;
  int raise = 0, lower = 0;
  ((outputs & kRtsOutput) ? raise : lower) |= TIOCM_RTS;
  ((outputs & kDtrOutput) ? raise : lower) |= TIOCM_DTR;
  if (raise != 0) ::ioctl(fd, TIOCMBIS, &raise);
  if (lower != 0) ::ioctl(fd, TIOCMBIC, &lower);
}

std::optional<std::uint32_t> ModemLines::Service(int fd, Clock::time_point now) {
  if (outputsChanged_.exchange(false) && supported_) ApplyOutputs(fd);
  ServiceBreak(fd, now);
  return ReadChangedInputs(fd, now);
}

// The break is set and cleared as two calls, so the worker goes on reading meanwhile;
// a break asked for during one is not added to it.
void ModemLines::ServiceBreak(int fd, Clock::time_point now) {
  if (breakEnds_ && now >= *breakEnds_) {
    ::ioctl(fd, TIOCCBRK);
    breakEnds_.reset();
  }
  // Timed from the call itself, so the line is held for no less than the whole time.
  if (breakRequested_.exchange(false) && !breakEnds_ && ::ioctl(fd, TIOCSBRK) == 0) {
    breakEnds_ = Clock::now() + kBreakDuration;
  }
}

std::optional<std::uint32_t> ModemLines::ReadChangedInputs(int fd, Clock::time_point now) {
  if (!supported_ || now < nextRead_) return std::nullopt;
  nextRead_ = now + kReadInterval;
  int bits = 0;
  if (::ioctl(fd, TIOCMGET, &bits) != 0) return std::nullopt;  // a device going away: its hang-up follows
  const std::uint32_t inputs = InputsOf(bits);
  if (reported_ == inputs) return std::nullopt;
  reported_ = inputs;
  return inputs;
}

int ModemLines::WaitMilliseconds(Clock::time_point now) const {
  std::optional<Clock::time_point> due;
  if (supported_) due = nextRead_;
  if (breakEnds_) due = std::min(due.value_or(*breakEnds_), *breakEnds_);
  if (!due) return -1;
  if (*due <= now) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*due - now).count());
}

}  // namespace portprobe
