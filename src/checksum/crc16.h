#pragma once

#include <cstdint>
#include <span>

namespace portprobe {

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, no reflection, no final XOR.
// The check value of the ASCII digits "123456789" is 0x31C3.
std::uint16_t ComputeCrc16(std::span<const std::uint8_t> bytes);

}  // namespace portprobe
