#pragma once

#include "sim/device_end.h"
#include "sim/roles.h"
#include "sim/sim_options.h"

namespace portprobe::sim {

// Plays the role on the device's end until Ctrl-C, SIGTERM or SIGHUP, until the
// terminal closes the device (unless options.stay) or until the watched process ends.
// Writes a note on the ending to stderr. Throws std::system_error when the signals or
// the watched process cannot be waited for.
void RunSimulator(DeviceEnd& device, Role& role, const SimOptions& options);

}  // namespace portprobe::sim
