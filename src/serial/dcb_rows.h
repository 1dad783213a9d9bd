#pragma once

// The device control block of a Windows COM port; include only in Windows files.
#include <windows.h>

#include "serial/line_settings.h"

namespace portprobe {

// Binary mode without error or null characters plus the selected rows and the flow
// control, on top of what the driver reported. RTS stays as the driver drives it,
// except that it follows CTS handshaking on and off.
void SetLineSettings(DCB& dcb, const LineSettings& settings);

}  // namespace portprobe
