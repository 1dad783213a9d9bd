#include "serial/modem_lines.h"

#include <algorithm>

#include "serial/port_device.h"

namespace portprobe {

void ModemLines::SetOutputs(bool rts, bool dtr) {
  const std::uint32_t outputs = (rts ? kRtsOutput : 0) | (dtr ? kDtrOutput : 0);
  if (outputs_.exchange(outputs) != outputs) outputsChanged_ = true;
}

void ModemLines::Attach(PortDevice& device) {
  supported_ = device.ModemInputs().has_value();
  outputsChanged_ = false;
  breakRequested_ = false;
  breakEnds_.reset();
  reported_.reset();
  nextRead_ = {};
  if (supported_) ApplyOutputs(device);
}

void ModemLines::Detach(PortDevice& device) {
  if (breakEnds_) device.SetBreak(false);
  breakEnds_.reset();
  breakRequested_ = false;
}

void ModemLines::ApplyOutputs(PortDevice& device) const {
  const std::uint32_t outputs = outputs_;
  device.SetModemOutputs((outputs & kRtsOutput) != 0, (outputs & kDtrOutput) != 0);
}

std::optional<std::uint32_t> ModemLines::Service(PortDevice& device, Clock::time_point now) {
  if (outputsChanged_.exchange(false) && supported_) ApplyOutputs(device);
  ServiceBreak(device, now);
  return ReadChangedInputs(device, now);
}

// The break is set and cleared as two calls, so the worker goes on reading meanwhile;
// a break asked for during one is not added to it.
void ModemLines::ServiceBreak(PortDevice& device, Clock::time_point now) {
  if (breakEnds_ && now >= *breakEnds_) {
    device.SetBreak(false);
    breakEnds_.reset();
  }
  // Timed from the call itself, so the line is held for no less than the whole time.
  if (breakRequested_.exchange(false) && !breakEnds_ && device.SetBreak(true)) {
    breakEnds_ = Clock::now() + kBreakDuration;
  }
}

std::optional<std::uint32_t> ModemLines::ReadChangedInputs(PortDevice& device, Clock::time_point now) {
  if (!supported_ || now < nextRead_) return std::nullopt;
  nextRead_ = now + kReadInterval;
  const std::optional<std::uint32_t> inputs = device.ModemInputs();
  if (!inputs) return std::nullopt;  // a device going away: its hang-up follows
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
