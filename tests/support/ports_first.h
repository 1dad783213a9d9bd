#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/terminal_options.h"

namespace portprobe::testing {

// Options that list exactly these ports before "---------", enumerating nothing and
// remembering nothing.
inline TerminalOptions PortsFirst(std::vector<std::string> ports) {
  TerminalOptions options;
  options.leadingPorts = std::move(ports);
  options.enumeratePorts = false;
  return options;
}

}  // namespace portprobe::testing
