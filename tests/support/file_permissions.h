#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace portprobe::testing {

// Makes file permission bits count for this thread while it lives, even when the tests run
// as root (as CI does): the capabilities that bypass them leave the effective set and come
// back afterwards. For anyone else it changes nothing.
class ScopedFilePermissions {
 public:
  ScopedFilePermissions() {
    held_ = ::syscall(SYS_capget, &header_, saved_) == 0;
    if (!held_) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
    ::syscall(SYS_capset, &header_, reduced);
  }
  ~ScopedFilePermissions() {
    if (held_) ::syscall(SYS_capset, &header_, saved_);
  }
  ScopedFilePermissions(const ScopedFilePermissions&) = delete;
  ScopedFilePermissions& operator=(const ScopedFilePermissions&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2] = {};
  bool held_ = false;  // capabilities are put back only if they were read
};

// Gives a file exactly the permission bits asked for and returns its path.
inline std::string WithPermissions(const std::string& path, std::filesystem::perms perms) {
  std::filesystem::permissions(path, perms, std::filesystem::perm_options::replace);
  return path;
}

}  // namespace portprobe::testing
