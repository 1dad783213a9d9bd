#pragma once

#include <string>

namespace portprobe::sim {

// A symbolic link with a stable name to the simulator's device, for scripts and
// desktop settings that cannot follow the changing /dev/pts number. A link left by an
// earlier run is replaced; any other file in the way is an error.
class DeviceLink {
 public:
  // Throws std::system_error when the link cannot be made.
  DeviceLink(std::string linkPath, std::string target);
  // Removes the link, unless it was meanwhile replaced by something else.
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

 private:
  std::string linkPath_;
  std::string target_;
};

}  // namespace portprobe::sim
