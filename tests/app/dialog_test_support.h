#pragma once

#include <QComboBox>
#include <string>
#include <vector>

#include "app/terminal_options.h"

namespace portprobe::testing {

// Options that list exactly these ports before "---------", enumerating nothing.
inline TerminalOptions PortsFirst(std::vector<std::string> ports) {
  TerminalOptions options;
  options.leadingPorts = std::move(ports);
  options.enumeratePorts = false;
  return options;
}

// Picks a row of a list as the user would.
inline void Choose(QComboBox* list, int row) {
  list->setCurrentIndex(row);
  emit list->activated(row);
}

}  // namespace portprobe::testing
