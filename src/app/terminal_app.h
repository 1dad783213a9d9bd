#pragma once

#include <string>
#include <vector>

#include "app/terminal_options.h"
#include "common/expected.h"

namespace portprobe {

// The application: reads the command line, runs the main window modally and ends
// when it ends.
class TerminalApp {
 public:
  // Options from the command line, or an error text for a usage mistake.
  static Expected<TerminalOptions> ParseArguments(const std::vector<std::string>& args);

  int Run(int argc, char** argv);
};

}  // namespace portprobe
