#pragma once

#include <optional>

#include "serial/port_device.h"

namespace portprobe {

// The wait of a port's worker on Linux: the device's descriptor polled beside an
// eventfd that the window writes to wake it.
int CreateWakeFd();
void SignalWake(int wakeFd);
std::optional<PortDevice::Readiness> PollBesideWake(int fd, int wakeFd, bool read, bool write, int timeoutMilliseconds);

}  // namespace portprobe
