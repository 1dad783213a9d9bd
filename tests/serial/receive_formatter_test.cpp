#include "serial/receive_formatter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace portprobe {
namespace {

std::vector<std::uint8_t> Counting(std::uint8_t first, std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

// Plays a receive box: formats each batch and keeps what was shown.
struct Box {
  std::string Show(const std::vector<std::uint8_t>& bytes, Tick tick, ReceiveDisplay display = ReceiveDisplay::Hex) {
    std::string chunk;
    formatter.Format(bytes, tick, display, !text.empty(), chunk);
    text += chunk;
    return chunk;
  }
  ReceiveFormatter formatter;
  std::string text;
};

constexpr Tick kStart = 1000;

TEST(ReceiveFormatter, LaysOutHexBytesSixteenToALineAndStartsBlocksAfterPauses) {
  Box box;
  EXPECT_FALSE(box.formatter.LastArrivalTick());
  EXPECT_EQ(box.Show(Counting(0x00, 20), kStart), "00 01 02 03 04 05 06 07   08 09 0A 0B 0C 0D 0E 0F \r\n10 11 12 13 ");
  EXPECT_EQ(box.formatter.HexLineCount(), 4);
  EXPECT_EQ(box.formatter.LastArrivalTick(), kStart);
  // 50 ms later the line goes on, with the wider gap after its 8th byte.
  EXPECT_EQ(box.Show(Counting(0x14, 4), kStart + 50), "14 15 16 17   ");
  // Exactly 100 ms is no pause yet.
  EXPECT_EQ(box.Show(Counting(0x18, 1), kStart + 150), "18 ");
  // More than 100 ms starts a block on a fresh line.
  EXPECT_EQ(box.Show(Counting(0xFA, 2), kStart + 251), "\r\n    \r\nFA FB ");
  EXPECT_EQ(box.formatter.HexLineCount(), 2);
  EXPECT_EQ(box.formatter.LastArrivalTick(), kStart + 251);
}

TEST(ReceiveFormatter, AnEmptyBoxGetsNoSeparatorAndAClearStartsAFreshLine) {
  Box box;
  box.Show(Counting(0x00, 5), kStart);
  box.text.clear();
  box.formatter.StartNewLine();
  EXPECT_EQ(box.formatter.HexLineCount(), 0);
  EXPECT_EQ(box.Show(Counting(0x41, 2), kStart + 5000), "41 42 ");
  EXPECT_EQ(box.formatter.HexLineCount(), 2);
}

// Ticks wrap after 49 days; the pause is their signed 32-bit difference.
TEST(ReceiveFormatter, MeasuresPausesAcrossTheTickWrap) {
  Box box;
  box.Show({0x01}, 0xFFFFFFF0u);
  EXPECT_EQ(box.Show({0x02}, 0x00000050u), "02 ");
  EXPECT_EQ(box.Show({0x03}, 0x00000100u), "\r\n    \r\n03 ");
}

TEST(ReceiveFormatter, ShowsCharactersRawWithoutZeroBytes) {
  Box box;
  box.Show(Counting(0x00, 3), kStart);
  EXPECT_EQ(box.Show({0x41, 0x00, 0x42}, kStart + 1, ReceiveDisplay::Characters), "AB");
  EXPECT_EQ(box.formatter.HexLineCount(), 0);
  EXPECT_EQ(box.Show({0x48, 0x0D, 0x0A, 0x49, 0xE4, 0xB8}, kStart + 2, ReceiveDisplay::Characters), "H\r\nI\xE4\xB8");
  EXPECT_EQ(box.Show({0xAD}, kStart + 3, ReceiveDisplay::Characters), "\xAD");
  // Character display leaves the time of the last hex batch alone, so going back to hex
  // after a while starts a block.
  EXPECT_EQ(box.formatter.LastArrivalTick(), kStart);
  EXPECT_EQ(box.Show({0x10}, kStart + 500), "\r\n    \r\n10 ");
}

TEST(ReceiveFormatter, DecodesGb18030CharactersSplitAcrossBatchesWhole) {
  // "A中😀" and a zero byte, in GB18030.
  const std::vector<std::uint8_t> bytes = {0x41, 0xD6, 0xD0, 0x00, 0x94, 0x39, 0xFC, 0x36};
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    Box box;
    box.formatter.SetEncoding(TextEncoding::Gb18030);
    box.Show({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)}, kStart, ReceiveDisplay::Characters);
    box.Show({bytes.begin() + static_cast<std::ptrdiff_t>(cut), bytes.end()}, kStart, ReceiveDisplay::Characters);
    EXPECT_EQ(box.text, "A中😀") << "cut after byte " << cut;
  }
  // A character under way when the display turns to hex shows as its bytes there.
  Box box;
  box.formatter.SetEncoding(TextEncoding::Gb18030);
  EXPECT_EQ(box.Show({0x41, 0xD6}, kStart, ReceiveDisplay::Characters), "A");
  EXPECT_EQ(box.Show({0xD0}, kStart + 1), "D6 D0 ");
}

}  // namespace
}  // namespace portprobe
