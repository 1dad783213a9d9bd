#include "session/frame_check.h"

#include <gtest/gtest.h>

#include <string>

#include "session/receive_path.h"

namespace portprobe {
namespace {

constexpr ChecksumType kModbusRow = 7;
constexpr ChecksumType kCrc32Row = 12;
constexpr ChecksumType kLrcRow = 14;

const std::string kGood(FrameCheck::kGoodMark);
const std::string kBad(FrameCheck::kBadMark);

TEST(FrameCheck, MarksBlocksWhoseLastBytesAreTheirChecksum) {
  EXPECT_FALSE(FrameCheck::CanCheck(kNoChecksum));
  for (ChecksumType program = kFirstCustomChecksum; program < kFirstCustomChecksum + 3; ++program) {
    EXPECT_FALSE(FrameCheck::CanCheck(program)) << program;
  }
  EXPECT_FALSE(FrameCheck::CanCheck(-1));
  EXPECT_FALSE(FrameCheck::CanCheck(15));
  for (ChecksumType row : {kXorChecksum, kCrc16LowFirst, kCrc16HighFirst, kModbusRow, kCrc32Row, kLrcRow}) {
    EXPECT_TRUE(FrameCheck::CanCheck(row)) << row;
  }

  FrameCheck check;
  check.SetRow(kFirstCustomChecksum);
  EXPECT_FALSE(check.On());
  check.Add(ByteFrame{1, 2});
  EXPECT_EQ(check.Finish(), "");

  check.SetRow(kModbusRow);
  ASSERT_TRUE(check.On());
  EXPECT_EQ(check.Finish(), "");  // no block under way
  // A block may arrive in pieces; the last two bytes are the CRC, low byte first.
  check.Add(ByteFrame{0x01, 0x03, 0x00, 0x00});
  check.Add(ByteFrame{0x00, 0x03, 0x05, 0xCB});
  EXPECT_EQ(check.Finish(), FrameCheck::kGoodMark);
  check.Add(ByteFrame{0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0xCB, 0x05});  // bytes swapped
  EXPECT_EQ(check.Finish(), FrameCheck::kBadMark);
  // The checksum alone, or less, is no frame.
  check.Add(ByteFrame{0xFF, 0xFF});
  EXPECT_EQ(check.Finish(), FrameCheck::kBadMark);
  check.Add(ByteFrame{0x00});
  EXPECT_EQ(check.Finish(), FrameCheck::kBadMark);
  EXPECT_EQ(check.GoodCount(), 1);
  EXPECT_EQ(check.BadCount(), 3);

  check.SetRow(kCrc32Row);
  check.Add(ByteFrame{'1', '2', '3', '4', '5', '6', '7', '8', '9', 0x26, 0x39, 0xF4, 0xCB});
  EXPECT_EQ(check.Finish(), FrameCheck::kGoodMark);
  check.SetRow(kLrcRow);
  check.Add(ByteFrame{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xF2});
  check.Drop();
  EXPECT_EQ(check.Finish(), "");
  check.ResetCounters();
  EXPECT_EQ(check.GoodCount() + check.BadCount(), 0);
}

SerialEvent Batch(const ByteFrame& bytes, Tick tick) {
  SerialEvent event;
  event.bytes = bytes;
  event.tick = tick;
  return event;
}

std::string Receive(ReceivePath& path, const std::vector<SerialEvent>& batches,
                    ReceiveDisplay display = ReceiveDisplay::Hex) {
  std::optional<ReceivePath::CaptureFailure> failure;
  return path.Receive(batches, display, true, failure);
}

TEST(ReceivePath, MarksEachHexBlockWhenItEnds) {
  ReceivePath path;
  path.SetCheckRow(kModbusRow);
  // Pieces within the block pause are one block; the next block's start ends it.
  EXPECT_EQ(Receive(path, {Batch({0x01, 0x03, 0x00}, 1000), Batch({0x00, 0x00, 0x03, 0x05, 0xCB}, 1050)}),
            "01 03 00 00 00 03 05 CB   ");
  EXPECT_EQ(Receive(path, {Batch({0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCC}, 1300)}),
            kGood + "\r\n    \r\n01 03 00 00 00 03 05 CC   ");
  // A silent line ends the block from outside.
  EXPECT_EQ(path.EndBlock(), kBad);
  EXPECT_EQ(path.EndBlock(), "");
  EXPECT_EQ(path.GoodBlocks(), 1);
  EXPECT_EQ(path.BadBlocks(), 1);

  // Characters have no blocks: the block under way goes unmarked.
  Receive(path, {Batch({0x01, 0x03}, 2000)});
  EXPECT_EQ(Receive(path, {Batch({'a'}, 2300)}, ReceiveDisplay::Characters), "a");
  EXPECT_EQ(path.EndBlock(), "");
  // So does one whose start was cleared away.
  Receive(path, {Batch({0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB}, 3000)});
  path.BoxCleared();
  EXPECT_EQ(path.EndBlock(), "");

  path.ResetCounters();
  EXPECT_EQ(path.GoodBlocks() + path.BadBlocks() + path.RxCount(), 0);
  path.SetCheckRow(std::nullopt);
  EXPECT_FALSE(path.CheckOn());
  EXPECT_EQ(Receive(path, {Batch({0x05, 0xCB}, 4000), Batch({0x06}, 4500)}), "\r\n    \r\n05 CB \r\n    \r\n06 ");
}

}  // namespace
}  // namespace portprobe
