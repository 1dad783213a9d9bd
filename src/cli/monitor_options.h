#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/expected.h"
#include "serial/line_options.h"
#include "serial/frame_gap.h"

namespace portprobe::cli {

// What portprobe-cli monitor was asked to do.
struct MonitorOptions {
  std::string port;
  LineOptions line;
  // The pause that ends a block, as the window's frame gap.
  std::int32_t gapMilliseconds = kDefaultFrameGapMilliseconds;
  // Blocks shown as text instead of hex.
  bool text = false;
  // Blocks that no rule answers are sent back unchanged.
  bool echo = false;
  std::string parserPath;
  std::string rulesPath;
  // Where the numbers of the received lines (of the decoded output, with a parser) are
  // logged as CSV; empty: nowhere.
  std::string csvPath;
};

// The options from the arguments after "monitor", or why they are wrong. Options are
// written "--name value" or "--name=value"; --port is needed.
Expected<MonitorOptions> ReadMonitorOptions(const std::vector<std::string>& args);

}  // namespace portprobe::cli
