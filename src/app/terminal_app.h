#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/terminal_options.h"

namespace portprobe {

// The application: reads the command line, runs the main window modally and ends
// when it ends.
class TerminalApp {
 public:
  // Options from the command line, or an error text for a usage mistake.
  static std::optional<TerminalOptions> ParseArguments(const std::vector<std::string>& args, std::string* error);

  int Run(int argc, char** argv);
};

}  // namespace portprobe
