#include "serial/device_holders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>

namespace portprobe {

namespace {

namespace fs = std::filesystem;

std::optional<pid_t> ProcessId(const fs::path& entry) {
  const std::string name = entry.filename().string();
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
  if (error != std::errc() || end != name.data() + name.size()) return std::nullopt;
  return pid;
}

bool OpensDevice(const fs::path& processDirectory, dev_t device) {
  std::error_code error;
  for (fs::directory_iterator it(processDirectory / "fd", error), end; !error && it != end; it.increment(error)) {
    struct stat target {};
    // stat follows the descriptor's link to the file it has open.
    if (::stat(it->path().c_str(), &target) == 0 && S_ISCHR(target.st_mode) && target.st_rdev == device) return true;
  }
  return false;
}

std::string CommandName(const fs::path& processDirectory) {
  std::ifstream comm(processDirectory / "comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

}  // namespace

std::vector<DeviceHolder> FindDeviceHolders(const std::string& devicePath, const std::string& procRoot) {
  struct stat device {};
  if (::stat(devicePath.c_str(), &device) != 0 || !S_ISCHR(device.st_mode)) return {};
  std::vector<DeviceHolder> holders;
  std::error_code error;
  for (fs::directory_iterator it(procRoot, error), end; !error && it != end; it.increment(error)) {
    const std::optional<pid_t> pid = ProcessId(it->path());
    if (!pid || *pid == ::getpid() || !OpensDevice(it->path(), device.st_rdev)) continue;
    holders.push_back({*pid, CommandName(it->path())});
  }
  std::sort(holders.begin(), holders.end(), [](const DeviceHolder& a, const DeviceHolder& b) { return a.pid < b.pid; });
  return holders;
}

}  // namespace portprobe
