#include "sim/device_link.h"

#include <filesystem>
#include <system_error>

namespace portprobe::sim {

namespace fs = std::filesystem;

DeviceLink::DeviceLink(std::string linkPath, std::string target)
    : linkPath_(std::move(linkPath)), target_(std::move(target)) {
  if (fs::is_symlink(fs::symlink_status(linkPath_))) fs::remove(linkPath_);
  fs::create_symlink(target_, linkPath_);
}

DeviceLink::~DeviceLink() {
  std::error_code error;
  if (fs::read_symlink(linkPath_, error) == target_) fs::remove(linkPath_, error);
}

}  // namespace portprobe::sim
