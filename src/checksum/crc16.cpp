#include "checksum/crc16.h"

namespace portprobe {

namespace {
constexpr std::uint16_t kPolynomial = 0x1021;
}  // namespace

// Bit by bit, most significant bit first: frames are a few kilobytes at most, so a
// table would buy nothing.
std::uint16_t ComputeCrc16(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0;
  for (const std::uint8_t byte : bytes) {
    for (unsigned mask = 0x80; mask != 0; mask >>= 1) {
      const bool topBitSet = (crc & 0x8000) != 0;
      const bool dataBitSet = (byte & mask) != 0;
      crc = static_cast<std::uint16_t>(crc << 1);
      if (topBitSet != dataBitSet) crc ^= kPolynomial;
    }
  }
  return crc;
}

}  // namespace portprobe
