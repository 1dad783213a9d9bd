#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace portprobe::bench {

// A memory figure of this process from /proc/self/status ("VmRSS:" now, "VmHWM:" the
// peak so far), in MiB.
inline double ProcessMegabytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + field.size()) / 1024.0;
  }
  return 0;
}

}  // namespace portprobe::bench
