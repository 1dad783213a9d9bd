#pragma once

// Kernel termios2 definitions; they clash with <termios.h>, so include this header
// only where <termios.h> is not needed.
#include <asm/termbits.h>

#include "serial/line_settings.h"

namespace portprobe {

// Raw mode plus the selected rows and the flow control, on top of what the driver
// reported.
void SetLineSettings(struct termios2& tio, const LineSettings& settings);

}  // namespace portprobe
