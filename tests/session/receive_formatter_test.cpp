#include "session/receive_formatter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "session/received_blocks.h"
#include "support/local_time.h"

namespace portprobe {
namespace {

std::vector<std::uint8_t> Counting(std::uint8_t first, std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

// Plays a receive box as the receive path does: the block clock tells where blocks
// begin, the formatter lays each batch out, and what was shown is kept.
struct Box {
  std::string Show(const std::vector<std::uint8_t>& bytes, Tick tick, ReceiveDisplay display = ReceiveDisplay::Hex,
                   WallTime time = WallTime()) {
    std::string chunk;
    formatter.Format(bytes, blocks.BeginsBlock(tick), time, display, !text.empty(), chunk);
    blocks.Add(bytes, tick, time);
    text += chunk;
    return chunk;
  }
  std::string Echo(const std::vector<std::uint8_t>& bytes, ReceiveDisplay display, WallTime time = WallTime()) {
    blocks.EndNow();
    std::string chunk;
    if (!text.empty() && text.back() != '\n') chunk = "\r\n";  // as the window does
    formatter.FormatEcho(bytes, time, display, chunk);
    text += chunk;
    return chunk;
  }
  ReceivedBlocks blocks;
  ReceiveFormatter formatter;
  std::string text;
};

constexpr Tick kStart = 1000;

TEST(ReceiveFormatter, LaysOutHexBytesSixteenToALineAndStartsBlocksAfterPauses) {
  Box box;
  EXPECT_EQ(box.Show(Counting(0x00, 20), kStart), "00 01 02 03 04 05 06 07   08 09 0A 0B 0C 0D 0E 0F \r\n10 11 12 13 ");
  EXPECT_EQ(box.formatter.HexLineCount(), 4);
  // 50 ms later the line goes on, with the wider gap after its 8th byte.
  EXPECT_EQ(box.Show(Counting(0x14, 4), kStart + 50), "14 15 16 17   ");
  // Exactly 100 ms is no pause yet.
  EXPECT_EQ(box.Show(Counting(0x18, 1), kStart + 150), "18 ");
  // More than 100 ms starts a block on a fresh line.
  EXPECT_EQ(box.Show(Counting(0xFA, 2), kStart + 251), "\r\n    \r\nFA FB ");
  EXPECT_EQ(box.formatter.HexLineCount(), 2);
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
  // Going back to hex after a pause starts a block.
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
  // An echo is decoded on its own: it neither takes a held start nor leaves one.
  EXPECT_EQ(box.Show({0xD6}, kStart + 2, ReceiveDisplay::Characters), "");
  EXPECT_EQ(box.Echo({0xD6, 0xD0, 0xD6}, ReceiveDisplay::Characters), "\r\n中\xEF\xBF\xBD\r\n");
  EXPECT_EQ(box.Show({0xD0}, kStart + 3, ReceiveDisplay::Characters), "中");
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// The stamp of a block is the time of its first batch, whenever the block begins.
TEST(ReceiveFormatter, StampsEachHexBlockWithTheTimeOfItsFirstBatch) {
  const WallTime t1 = testing::LocalTime(12, 34, 56, 789);
  const WallTime t2 = testing::LocalTime(12, 34, 57, 5);
  Box box;
  box.formatter.SetTimestamps(true);
  EXPECT_EQ(box.Show({0x01, 0x02}, kStart, ReceiveDisplay::Hex, t1), "[12:34:56.789] 01 02 ");
  EXPECT_EQ(box.Show({0x03}, kStart + 100, ReceiveDisplay::Hex, t2), "03 ");
  EXPECT_EQ(box.Show({0x04}, kStart + 201, ReceiveDisplay::Hex, t2), "\r\n    \r\n[12:34:57.005] 04 ");
  // A cleared box begins a block; the stamp shifts no byte off the hex layout's count.
  box.text.clear();
  box.formatter.StartNewLine();
  // Its further lines stand under its first byte.
  const std::string under(15, ' ');
  EXPECT_EQ(box.Show(Counting(0x10, 17), kStart + 210, ReceiveDisplay::Hex, t1),
            "[12:34:56.789] 10 11 12 13 14 15 16 17   18 19 1A 1B 1C 1D 1E 1F \r\n" + under + "20 ");
  EXPECT_EQ(box.formatter.HexLineCount(), 1);
  // A box too narrow for a stamp and 16 bytes gets lines of 8. A batch that ends a
  // line leaves the indent to the byte that begins the next; an echo is cut the same way.
  box.formatter.SetColumns(63);
  EXPECT_EQ(box.Show(Counting(0x21, 7), kStart + 220, ReceiveDisplay::Hex, t1), "21 22 23 24 25 26 27 \r\n");
  EXPECT_EQ(box.Show(Counting(0x28, 9), kStart + 230, ReceiveDisplay::Hex, t1),
            under + "28 29 2A 2B 2C 2D 2E 2F \r\n" + under + "30 ");
  EXPECT_EQ(box.Echo(Counting(0x01, 9), ReceiveDisplay::Hex, t2),
            "\r\n[12:34:57.005] 01 02 03 04 05 06 07 08 \r\n" + under + "09 \r\n");
  box.formatter.SetColumns(64);
  EXPECT_EQ(box.Show(Counting(0x10, 17), kStart + 500, ReceiveDisplay::Hex, t1),
            "[12:34:56.789] 10 11 12 13 14 15 16 17   18 19 1A 1B 1C 1D 1E 1F \r\n" + under + "20 ");
  // Switched off, nothing is stamped.
  box.formatter.SetTimestamps(false);
  EXPECT_EQ(box.Show({0x05}, kStart + 1000, ReceiveDisplay::Hex, t2), "\r\n    \r\n05 ");
}

TEST(ReceiveFormatter, StampsCharacterLinesWithTheBatchThatBeganThemAcrossASplitCrLf) {
  const WallTime t1 = testing::LocalTime(8, 0, 0, 100);
  const WallTime t2 = testing::LocalTime(8, 0, 0, 200);
  const WallTime t3 = testing::LocalTime(8, 0, 0, 300);
  Box box;
  box.formatter.SetTimestamps(true);
  const ReceiveDisplay chars = ReceiveDisplay::Characters;
  EXPECT_EQ(box.Show(Bytes(std::string("ok\0\r", 4)), kStart, chars, t1), "[08:00:00.100] ok\r");
  EXPECT_EQ(box.Show(Bytes("\nne"), kStart + 1, chars, t2), "\n[08:00:00.200] ne");
  EXPECT_EQ(box.Show(Bytes("xt\r\n"), kStart + 2, chars, t3), "xt\r\n");
  EXPECT_EQ(box.Show(Bytes("last"), kStart + 3, chars, t3), "[08:00:00.300] last");
  // Hex display cut in mid-line goes on without a stamp; after a full hex line a stamp begins the line.
  EXPECT_EQ(box.Show(Counting(0x00, 16), kStart + 500, ReceiveDisplay::Hex, t1).substr(0, 15), "[08:00:00.100] ");
  EXPECT_EQ(box.Show(Bytes("a"), kStart + 501, chars, t2), "[08:00:00.200] a");
  box.Show({0x01}, kStart + 1000, ReceiveDisplay::Hex, t1);
  EXPECT_EQ(box.Show(Bytes("b"), kStart + 1001, chars, t2), "b");
  // A cleared box starts a line.
  box.text.clear();
  box.formatter.StartNewLine();
  EXPECT_EQ(box.Show(Bytes("c"), kStart + 1002, chars, t3), "[08:00:00.300] c");
}

// The frame gap replaces the fixed pause; a pause of exactly the gap is none yet.
TEST(ReceiveFormatter, CutsBlocksAtTheFrameGapSet) {
  Box box;
  box.blocks.SetGap(500);
  box.Show({0x01}, kStart);
  EXPECT_EQ(box.Show({0x02}, kStart + 500), "02 ");
  EXPECT_FALSE(box.blocks.BeginsBlock(kStart + 1000));
  EXPECT_EQ(box.Show({0x03}, kStart + 1001), "\r\n    \r\n03 ");
  box.blocks.SetGap(1);
  EXPECT_EQ(box.Show({0x04}, kStart + 1002), "04 ");
  EXPECT_EQ(box.Show({0x05}, kStart + 1004), "\r\n    \r\n05 ");
}

// An echo stands on lines of its own, with its own stamp, and what arrives after it
// begins a new block or line even within the frame gap.
TEST(ReceiveFormatter, ShowsEchoedFramesOnLinesOfTheirOwnAndResumesAfterThem) {
  const WallTime received = testing::LocalTime(9, 0, 0, 1);
  const WallTime sent = testing::LocalTime(9, 0, 0, 2);
  const WallTime reply = testing::LocalTime(9, 0, 0, 3);
  Box box;
  EXPECT_EQ(box.Echo({0x01, 0x03}, ReceiveDisplay::Hex), "01 03 \r\n");
  box.formatter.SetTimestamps(true);
  box.Show({0xAA}, kStart, ReceiveDisplay::Hex, received);
  EXPECT_EQ(box.Echo(Counting(0x00, 16), ReceiveDisplay::Hex, sent),
            "\r\n[09:00:00.002] 00 01 02 03 04 05 06 07   08 09 0A 0B 0C 0D 0E 0F \r\n");
  EXPECT_EQ(box.Show({0xBB}, kStart + 10, ReceiveDisplay::Hex, reply), "[09:00:00.003] BB ");
  EXPECT_EQ(box.Show({0xCC}, kStart + 20, ReceiveDisplay::Hex, reply), "CC ");
  EXPECT_EQ(box.formatter.HexLineCount(), 2);
  // A reply after a pause gets no separator: the echo sets it off already.
  box.Echo({0x02}, ReceiveDisplay::Hex, sent);
  EXPECT_EQ(box.Show({0xDD}, kStart + 500, ReceiveDisplay::Hex, reply), "[09:00:00.003] DD ");

  box.Show(Bytes("\r\nin"), kStart + 30, ReceiveDisplay::Characters, received);
  EXPECT_EQ(box.Echo(Bytes(std::string("go\0\r\non", 7)), ReceiveDisplay::Characters, sent),
            "\r\n[09:00:00.002] go\r\n[09:00:00.002] on\r\n");
  EXPECT_EQ(box.Show(Bytes("put"), kStart + 40, ReceiveDisplay::Characters, reply), "[09:00:00.003] put");
  // An echo that ends its own line adds no break.
  box.formatter.SetTimestamps(false);
  EXPECT_EQ(box.Echo(Bytes("AT\r\n"), ReceiveDisplay::Characters), "\r\nAT\r\n");
  EXPECT_EQ(box.Show(Bytes("OK"), kStart + 50, ReceiveDisplay::Characters), "OK");
}

}  // namespace
}  // namespace portprobe
