#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace portprobe {

inline constexpr std::size_t kMaxEnumeratedPorts = 128;

// Serial ports that have a real device behind them, by kernel name (ttyUSB0, ttyACM0,
// ttyS0), sorted by name, at most `capacity`. Placeholder UARTs that report no port
// type are left out. `ttyClassDir` is the sysfs tty class folder.
std::vector<std::string> EnumerateSerialPorts(const std::string& ttyClassDir = "/sys/class/tty",
                                              std::size_t capacity = kMaxEnumeratedPorts);

// Device path of a port-list name: a name starting with "/" is a path already,
// "COMn" is /dev/ttyS(n-1), any other name lives under /dev.
std::string DevicePath(const std::string& portName);

}  // namespace portprobe
