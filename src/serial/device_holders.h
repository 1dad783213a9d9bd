#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace portprobe {

struct DeviceHolder {
  pid_t pid = 0;
  std::string name;  // the process's command name, as ps shows it
};

// The other processes that have the character device at `devicePath` open, found
// through their descriptors under `procRoot`; this process is left out, and so is a
// process that holds the master of a pseudo-terminal, which is the line's far end. Processes
// whose descriptors may not be read (other users', without privilege) are not seen.
// Sorted by process id; empty when the path is no character device.
std::vector<DeviceHolder> FindDeviceHolders(const std::string& devicePath, const std::string& procRoot = "/proc");

}  // namespace portprobe
