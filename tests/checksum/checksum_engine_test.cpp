#include "checksum/checksum_engine.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "checksum/blocking_program_host.h"
#include "codec/hex_format.h"
#include "codec/hex_codec.h"

namespace portprobe {
namespace {

const ByteFrame kDigits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};

// The digits 1 to 9 carry the CRC-16/XMODEM check value 0x31C3.
TEST(AppendChecksum, AppendsBuiltInChecksumsInPlace) {
  struct Case {
    ByteFrame frame;
    ChecksumType type;
    ByteFrame appended;
  };
  const Case cases[] = {
      {kDigits, kCrc16LowFirst, {0xC3, 0x31}},       {kDigits, kCrc16HighFirst, {0x31, 0xC3}},
      {{1, 2, 3}, kCrc16LowFirst, {0x31, 0x61}},     {{1, 2, 3}, kCrc16HighFirst, {0x61, 0x31}},
      {{1, 2, 4}, kXorChecksum, {0x07}},             {{1, 2, 3}, kXorChecksum, {0x00}},
      {{0x0B, 3, 7, 0, 0x34, 0x12, 0, 0, 1, 1, 0}, kXorChecksum, {0x29}},
      {{}, kXorChecksum, {0x00}},                    {{}, kCrc16LowFirst, {0, 0}},
      {{}, kCrc16HighFirst, {0, 0}},                {{0xFF}, kCrc16HighFirst, {0x1E, 0xF0}},
  };
  std::ostringstream messages;
  BlockingProgramHost host(messages);
  for (const Case& c : cases) {
    ByteFrame frame = c.frame;
    AppendChecksum(frame, c.type, host);
    ByteFrame expected = c.frame;
    expected.insert(expected.end(), c.appended.begin(), c.appended.end());
    EXPECT_EQ(frame, expected) << "type " << c.type << ": " << FormatHexBytes(c.frame);
  }
  EXPECT_EQ(messages.str(), "");
}

TEST(FormatHexBytes, LaysOutSixteenBytesPerLine) {
  ByteFrame frame(18);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(FormatHexBytes(frame), "00 01 02 03 04 05 06 07   08 09 0A 0B 0C 0D 0E 0F \r\n10 11 ");
  EXPECT_EQ(FormatHexBytes(ByteFrame{}), "");
}

TEST(FormatHexBytes, ParsesBackToTheSameBytes) {
  std::mt19937 random(20240517);
  std::uniform_int_distribution<int> length(0, 70);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 500; ++round) {
    ByteFrame frame(static_cast<std::size_t>(length(random)));
    for (std::uint8_t& b : frame) b = static_cast<std::uint8_t>(byte(random));
    ASSERT_EQ(ParseHexText(FormatHexBytes(frame)), frame) << FormatHexBytes(frame);
  }
}

}  // namespace
}  // namespace portprobe
