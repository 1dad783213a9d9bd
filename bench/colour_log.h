#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace portprobe::bench {

// A mebibyte of log lines as a boot log or `ls --color` shows them: a coloured level,
// a coloured name, plain text, and the colours reset, on every line.
inline std::vector<std::uint8_t> ColourLog() {
  static constexpr const char* kColours[] = {"31", "32", "33", "34", "35", "36", "1;31", "38;5;208"};
  std::string log;
  for (unsigned line = 0; log.size() < (std::size_t{1} << 20); ++line) {
    log += "\x1b[" + std::string(kColours[line % 8]) + "m[  OK  ]\x1b[0m Started \x1b[1;" +
           std::string(kColours[(line / 8) % 8]) + "mservice-" + std::to_string(line) +
           "\x1b[0m: the daemon that keeps line " + std::to_string(line * 7919) + " of the log going.\r\n";
  }
  log.resize(std::size_t{1} << 20);
  return {log.begin(), log.end()};
}

}  // namespace portprobe::bench
