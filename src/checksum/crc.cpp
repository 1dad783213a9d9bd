#include "checksum/crc.h"

namespace portprobe {

std::uint32_t Crc::Compute(std::span<const std::uint8_t> bytes) const {
  const int width = model_.width;
  std::uint32_t crc = model_.refin ? Reflect(model_.init, width) : model_.init;
  for (const std::uint8_t byte : bytes) {
    if (model_.refin) {
      crc = (crc >> 8) ^ table_[(crc ^ byte) & 0xFF];
    } else {
      crc = ((crc << 8) ^ table_[((crc >> (width - 8)) ^ byte) & 0xFF]) & Mask(width);
    }
  }
  // The register is reversed exactly when the input was; refout says how it leaves.
  if (model_.refin != model_.refout) crc = Reflect(crc, width);
  return (crc ^ model_.xorout) & Mask(width);
}

}  // namespace portprobe
