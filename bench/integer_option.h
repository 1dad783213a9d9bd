#pragma once

#include <cstdlib>
#include <string>

namespace portprobe::bench {

// The number after `name` on the command line (`--runs 5`), else `fallback`.
inline long long IntegerOption(int argc, char** argv, const std::string& name, long long fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (argv[i] == name) return std::atoll(argv[i + 1]);
  }
  return fallback;
}

}  // namespace portprobe::bench
