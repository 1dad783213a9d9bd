#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// A path in a folder of this fuzzing process's own, removed when the process ends.
inline std::string ScratchPath(const char* name) {
  static const std::string folder = [] {
    std::string pattern = "/tmp/portprobe-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    static const std::string removed = pattern;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(removed, ignored);
    });
    return pattern;
  }();
  return folder + "/" + name;
}
