#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace portprobe {

// The parameters by which the public CRC catalogue names a CRC of 8 to 32 bits.
struct CrcModel {
  int width;           // bits: 8, 16 or 32
  std::uint32_t poly;  // normal (unreflected) form, without the top bit
  std::uint32_t init;
  bool refin;   // each input byte least significant bit first
  bool refout;  // the register reversed before the final XOR
  std::uint32_t xorout;
};

// A table-driven CRC of one model; the table is built at compile time for constexpr objects.
class Crc {
 public:
  explicit constexpr Crc(const CrcModel& model) : model_(model), table_(BuildTable(model)) {}

  constexpr const CrcModel& Model() const { return model_; }
  std::uint32_t Compute(std::span<const std::uint8_t> bytes) const;

 private:
  static constexpr std::uint32_t Mask(int width) { return width == 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << width) - 1; }
  static constexpr std::uint32_t Reflect(std::uint32_t value, int width) {
    std::uint32_t reflected = 0;
    for (int bit = 0; bit < width; ++bit) {
      if ((value >> bit) & 1u) reflected |= std::uint32_t{1} << (width - 1 - bit);
    }
    return reflected;
  }
  // A reflected model keeps its register reversed, so it shifts right with the
  // reversed polynomial; an unreflected one shifts left with the top bit aligned.
  static constexpr std::array<std::uint32_t, 256> BuildTable(const CrcModel& model) {
    std::array<std::uint32_t, 256> table{};
    const std::uint32_t top = std::uint32_t{1} << (model.width - 1);
    for (std::uint32_t index = 0; index < 256; ++index) {
      std::uint32_t reg = model.refin ? index : index << (model.width - 8);
      for (int bit = 0; bit < 8; ++bit) {
        if (model.refin) {
          reg = (reg & 1u) ? (reg >> 1) ^ Reflect(model.poly, model.width) : reg >> 1;
        } else {
          reg = (reg & top) ? (reg << 1) ^ model.poly : reg << 1;
        }
      }
      table[index] = reg & Mask(model.width);
    }
    return table;
  }

  CrcModel model_;
  std::array<std::uint32_t, 256> table_;
};

// The models the checksum list offers.
inline constexpr Crc kCrc16Xmodem({16, 0x1021, 0x0000, false, false, 0});
inline constexpr Crc kCrc16Modbus({16, 0x8005, 0xFFFF, true, true, 0});
inline constexpr Crc kCrc16CcittFalse({16, 0x1021, 0xFFFF, false, false, 0});
inline constexpr Crc kCrc16Kermit({16, 0x1021, 0x0000, true, true, 0});
inline constexpr Crc kCrc8({8, 0x07, 0x00, false, false, 0});
inline constexpr Crc kCrc8Maxim({8, 0x31, 0x00, true, true, 0});
inline constexpr Crc kCrc32({32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0xFFFFFFFF});

}  // namespace portprobe
