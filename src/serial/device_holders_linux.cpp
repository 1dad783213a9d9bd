#include "serial/device_holders.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
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

// The number of the pseudo-terminal whose slave `device` is, if it is one.
std::optional<unsigned> PseudoTerminalNumber(dev_t device) {
  constexpr unsigned kFirstSlaveMajor = 136, kLastSlaveMajor = 143;  // Unix98 slaves
  const unsigned majorNumber = major(device);
  if (majorNumber < kFirstSlaveMajor || majorNumber > kLastSlaveMajor) return std::nullopt;
  return (majorNumber - kFirstSlaveMajor) * 256 + minor(device);
}

// Whether the process holds the master of pseudo-terminal `number`: it is the far end
// of the line (socat, a simulator), not a second reader of it.
bool HoldsMaster(const fs::path& processDirectory, unsigned number) {
  std::error_code error;
  for (fs::directory_iterator it(processDirectory / "fd", error), end; !error && it != end; it.increment(error)) {
    if (fs::read_symlink(it->path(), error).filename() != "ptmx") continue;
    std::ifstream info(processDirectory / "fdinfo" / it->path().filename());
    for (std::string line; std::getline(info, line);) {
      if (line.starts_with("tty-index:") && std::strtoul(line.c_str() + 10, nullptr, 10) == number) return true;
    }
  }
  return false;
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
  const std::optional<unsigned> pty = PseudoTerminalNumber(device.st_rdev);
  std::vector<DeviceHolder> holders;
  std::error_code error;
  for (fs::directory_iterator it(procRoot, error), end; !error && it != end; it.increment(error)) {
    const std::optional<pid_t> pid = ProcessId(it->path());
    if (!pid || *pid == ::getpid() || !OpensDevice(it->path(), device.st_rdev)) continue;
    if (pty && HoldsMaster(it->path(), *pty)) continue;
    holders.push_back({*pid, CommandName(it->path())});
  }
  std::sort(holders.begin(), holders.end(), [](const DeviceHolder& a, const DeviceHolder& b) { return a.pid < b.pid; });
  return holders;
}

// The number of a pseudo-terminal that went away soon belongs to another one, perhaps
// a shell's: a path there is only taken again while no other process holds it.
bool MayReopenDevice(const std::string& path) {
  std::error_code error;
  if (!fs::exists(path, error)) return false;
  const fs::path target = fs::canonical(path, error);
  return error || !target.string().starts_with("/dev/pts/") || FindDeviceHolders(target.string()).empty();
}

}  // namespace portprobe
