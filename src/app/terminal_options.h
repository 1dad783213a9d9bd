#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/executable_directory.h"
#include "serial/line_options.h"

namespace portprobe {

// How the terminal was started. The line options (baudText, parityText, dataBitsText,
// stopBitsText) hold for this run and are not remembered.
struct TerminalOptions : LineOptions {
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
  // The INI file in which the window remembers its settings between runs; empty
  // remembers nothing, so that windows made by tests see no other run's settings.
  std::string settingsFile;
  // --text: character display for this run.
  bool characterDisplay = false;
  // --help and --version print and end the program instead of opening the window.
  enum class Request { OpenWindow, PrintHelp, PrintVersion };
  Request request = Request::OpenWindow;
};

}  // namespace portprobe
