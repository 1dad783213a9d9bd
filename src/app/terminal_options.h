#pragma once

#include <string>
#include <vector>

#include "common/executable_directory.h"

namespace portprobe {

// How the terminal was started.
struct TerminalOptions {
  // Port names or device paths listed before the enumerated ports (--port), so that
  // the start-up open takes the first of them.
  std::vector<std::string> leadingPorts;
  bool enumeratePorts = true;
  // How long label 1029 shows that the received text was saved.
  int labelRestoreMilliseconds = 5000;
  // Where the checksum programs self_1 to self_3 live.
  std::string checksumProgramDirectory = ExecutableDirectory();
  // The manual that "About && Help" opens.
  std::string helpFile = ExecutableDirectory() + "/readme.txt";
};

}  // namespace portprobe
