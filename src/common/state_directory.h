#pragma once

#include <string>

namespace portprobe {

// The folder where the terminal keeps what it writes for itself (the parser list and
// the parser trace files): $XDG_STATE_HOME/portprobe, or ~/.local/state/portprobe when
// that variable is unset, empty or not an absolute path. Never the working directory.
std::string StateDirectory();

// StateDirectory(), created with its parents when missing; empty when it cannot be.
std::string MakeStateDirectory();

}  // namespace portprobe
