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
      {kDigits, kCrc16LowFirst, {0xC3, 0x31}},
      {kDigits, kCrc16HighFirst, {0x31, 0xC3}},
      {{1, 2, 3}, kCrc16LowFirst, {0x31, 0x61}},
      {{1, 2, 3}, kCrc16HighFirst, {0x61, 0x31}},
      {{1, 2, 4}, kXorChecksum, {0x07}},
      {{1, 2, 3}, kXorChecksum, {0x00}},
      {{0x0B, 3, 7, 0, 0x34, 0x12, 0, 0, 1, 1, 0}, kXorChecksum, {0x29}},
      {{}, kXorChecksum, {0x00}},
      {{}, kCrc16LowFirst, {0, 0}},
      {{}, kCrc16HighFirst, {0, 0}},
      {{0xFF}, kCrc16HighFirst, {0x1E, 0xF0}},
      // The rows after the custom programs, each in its own byte order.
      {{1, 3, 0, 0, 0, 3}, 7, {0x05, 0xCB}},
      {kDigits, 7, {0x37, 0x4B}},
      {kDigits, 8, {0x29, 0xB1}},
      {kDigits, 9, {0x89, 0x21}},
      {kDigits, 10, {0xF4}},
      {kDigits, 11, {0xA1}},
      {kDigits, 12, {0x26, 0x39, 0xF4, 0xCB}},
      {{0x80, 0x90, 0x7F}, 13, {0x8F}},
      {{}, 13, {0x00}},
      {{1, 3, 0, 0, 0, 10}, 14, {0xF2}},
      {{}, 14, {0x00}},
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
