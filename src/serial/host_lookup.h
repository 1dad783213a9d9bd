#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "serial/port_device.h"

namespace portprobe {

// One address of a host: its family and the socket address's bytes, as the system's
// lookup gave them.
struct HostAddress {
  int family = 0;
  std::vector<std::uint8_t> bytes;
};

using ConnectOne = std::function<PortDevice::Opening(const HostAddress&, std::chrono::steady_clock::time_point end)>;

// Looks the host up and tries its addresses in turn with `connectOne`, all within
// `limit`, until one connects or the time is up; the last one's failure is reported.
// A lookup that takes longer is left to finish alone.
PortDevice::Opening ConnectToHost(const std::string& host, std::uint16_t port, std::chrono::milliseconds limit,
                                  const ConnectOne& connectOne);

}  // namespace portprobe
