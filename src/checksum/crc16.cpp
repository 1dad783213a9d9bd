#include "checksum/crc16.h"

#include "checksum/crc.h"

namespace portprobe {

std::uint16_t ComputeCrc16(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint16_t>(kCrc16Xmodem.Compute(bytes));
}

}  // namespace portprobe
