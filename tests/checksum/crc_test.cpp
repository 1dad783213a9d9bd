#include "checksum/crc.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace portprobe {
namespace {

// The textbook definition, one bit at a time, written apart from the table so the two
// check each other: reverse input bytes if refin, divide MSB first, reverse if refout.
std::uint32_t BitwiseCrc(const CrcModel& m, const std::vector<std::uint8_t>& bytes) {
  const std::uint64_t top = std::uint64_t{1} << (m.width - 1);
  const std::uint64_t mask = (std::uint64_t{1} << m.width) - 1;
  std::uint64_t reg = m.init;
  for (std::uint8_t byte : bytes) {
    for (int i = 0; i < 8; ++i) {
      const int bit = m.refin ? i : 7 - i;
      const bool in = (byte >> bit) & 1;
      const bool out = (reg & top) != 0;
      reg = (reg << 1) & mask;
      if (in != out) reg ^= m.poly;
    }
  }
  if (m.refout) {
    std::uint64_t reversed = 0;
    for (int bit = 0; bit < m.width; ++bit) {
      if ((reg >> bit) & 1) reversed |= std::uint64_t{1} << (m.width - 1 - bit);
    }
    reg = reversed;
  }
  return static_cast<std::uint32_t>((reg ^ m.xorout) & mask);
}

TEST(Crc, MatchesTheCatalogueAndTheBitwiseDefinition) {
  struct Case {
    const Crc& crc;
    std::uint32_t check;
  };
  const Case cases[] = {
      {kCrc16Xmodem, 0x31C3}, {kCrc16Modbus, 0x4B37}, {kCrc16CcittFalse, 0x29B1}, {kCrc16Kermit, 0x2189},
      {kCrc8, 0xF4},          {kCrc8Maxim, 0xA1},     {kCrc32, 0xCBF43926},
  };
  const std::vector<std::uint8_t> digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  std::mt19937 random(19);
  std::vector<std::uint8_t> noise(40);
  for (std::uint8_t& byte : noise) byte = static_cast<std::uint8_t>(random());
  const std::vector<std::vector<std::uint8_t>> frames = {{}, {0x00}, {0xFF}, {0xA5}, noise, digits};
  for (const Case& c : cases) {
    EXPECT_EQ(c.crc.Compute(digits), c.check) << "width " << c.crc.Model().width << " poly " << c.crc.Model().poly;
    for (const std::vector<std::uint8_t>& frame : frames) {
      EXPECT_EQ(c.crc.Compute(frame), BitwiseCrc(c.crc.Model(), frame))
          << "poly " << c.crc.Model().poly << ", " << frame.size() << " bytes";
    }
  }
  // Mixed reflection is no catalogue row but must still follow the definition.
  const CrcModel mixed{16, 0x8005, 0x1234, true, false, 0x00FF};
  const Crc crc(mixed);
  for (const std::vector<std::uint8_t>& frame : frames) EXPECT_EQ(crc.Compute(frame), BitwiseCrc(mixed, frame));
}

}  // namespace
}  // namespace portprobe
