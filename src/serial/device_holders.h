#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace portprobe {

struct DeviceHolder {
  std::int64_t pid = 0;
  std::string name;  // the process's command name, as ps shows it
};

// The other processes that have the character device at `devicePath` open, found
// through their descriptors under `procRoot`; this process is left out, and so is a
// process that holds the master of a pseudo-terminal, which is the line's far end. Processes
// whose descriptors may not be read (other users', without privilege) are not seen.
// Sorted by process id; empty when the path is no character device. Windows opens a
// port for one program only, so there it is always empty.
std::vector<DeviceHolder> FindDeviceHolders(const std::string& devicePath, const std::string& procRoot = "/proc");

// Whether the path of a device that went away may be opened again now. On Windows a
// COM port is no file to look for: the open is the test, and a failed one waits quietly.
bool MayReopenDevice(const std::string& path);

}  // namespace portprobe
