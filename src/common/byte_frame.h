#pragma once

#include <cstdint>
#include <vector>

namespace portprobe {

// A frame of raw bytes: what the hex codec produces, the checksum engine extends,
// the serial link writes and the packet parser reads.
using ByteFrame = std::vector<std::uint8_t>;

}  // namespace portprobe
