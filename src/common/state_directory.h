#pragma once

#include <string>

namespace portprobe {

// The folder where the terminal keeps what it writes for itself (the parser list and
// the parser trace files). Never the working directory:
// - Linux: $XDG_STATE_HOME/portprobe, or ~/.local/state/portprobe when that variable
//   is unset, empty or not an absolute path;
// - Windows: %LOCALAPPDATA%\portprobe, or %USERPROFILE%\AppData\Local\portprobe when
//   that variable is unset or not an absolute path.
std::string StateDirectory();

// StateDirectory(), created with its parents when missing; empty when it cannot be.
std::string MakeStateDirectory();

}  // namespace portprobe
