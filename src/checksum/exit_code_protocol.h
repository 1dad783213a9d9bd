#pragma once

#include <cstdint>
#include <string>

#include "common/byte_frame.h"

namespace portprobe {

// Applies a checksum program's answer word E to the frame; T = E >> 24 decides:
// 0: unchanged; 1-3: the T low bytes of E are appended, lowest first; 4: the frame is
// replaced by the first 1024 bytes of `resultFile` (unchanged when it cannot be read);
// 5-255: unchanged.
void ExitCodeProtocol(ByteFrame& frame, std::uint32_t answer, const std::string& resultFile);

}  // namespace portprobe
