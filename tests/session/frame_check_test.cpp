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
  EXPECT_EQ(check.Mark(ByteFrame{1, 2}), "");

  check.SetRow(kModbusRow);
  ASSERT_TRUE(check.On());
  EXPECT_EQ(check.Mark(ByteFrame{}), "");  // no block
  // The last two bytes are the CRC, low byte first.
  EXPECT_EQ(check.Mark(ByteFrame{0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB}), FrameCheck::kGoodMark);
  EXPECT_EQ(check.Mark(ByteFrame{0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0xCB, 0x05}), FrameCheck::kBadMark);  // swapped
  // The checksum alone, or less, is no frame.
  EXPECT_EQ(check.Mark(ByteFrame{0xFF, 0xFF}), FrameCheck::kBadMark);
  EXPECT_EQ(check.Mark(ByteFrame{0x00}), FrameCheck::kBadMark);
  EXPECT_EQ(check.GoodCount(), 1);
  EXPECT_EQ(check.BadCount(), 3);

  check.SetRow(kCrc32Row);
  EXPECT_EQ(check.Mark(ByteFrame{'1', '2', '3', '4', '5', '6', '7', '8', '9', 0x26, 0x39, 0xF4, 0xCB}),
            FrameCheck::kGoodMark);
  check.SetRow(kLrcRow);
  EXPECT_EQ(check.Mark(ByteFrame{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xF2}), FrameCheck::kGoodMark);
  check.ResetCounters();
  EXPECT_EQ(check.GoodCount() + check.BadCount(), 0);
}

SerialEvent Batch(const ByteFrame& bytes, Tick tick) {
  SerialEvent event;
  event.bytes = bytes;
  event.tick = tick;
  return event;
}

// The text of the pieces, each ended block's mark after it, as the window shows them.
std::string Receive(ReceivePath& path, const std::vector<SerialEvent>& batches,
                    ReceiveDisplay display = ReceiveDisplay::Hex) {
  std::optional<ReceivePath::CaptureFailure> failure;
  std::string text;
  failure = path.Receive(batches, 0, display, true, [&text](std::string_view piece, const ReceivePath::EndedBlock* ended) {
    text += piece;
    if (ended != nullptr) text += ended->mark;
  });
  return text;
}

std::string EndMark(ReceivePath& path) {
  const std::optional<ReceivePath::EndedBlock> ended = path.EndBlock();
  return ended ? ended->mark : "(none)";
}

TEST(ReceivePath, MarksEachHexBlockWhenItEnds) {
  ReceivePath path;
  path.SetCheckRow(kModbusRow);
  // Pieces within the block pause are one block; the next block's start ends it.
  EXPECT_EQ(Receive(path, {Batch({0x01, 0x03, 0x00}, 1000), Batch({0x00, 0x00, 0x03, 0x05, 0xCB}, 1050)}),
            "01 03 00 00 00 03 05 CB   ");
  EXPECT_EQ(Receive(path, {Batch({0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCC}, 1300)}),
            kGood + "\r\n    \r\n01 03 00 00 00 03 05 CC   ");
  // A silent line or a send ends the block from outside.
  EXPECT_EQ(EndMark(path), kBad);
  EXPECT_EQ(EndMark(path), "(none)");
  EXPECT_EQ(path.GoodBlocks(), 1);
  EXPECT_EQ(path.BadBlocks(), 1);

  // Only blocks shown as hex are marked: one that shows as characters goes unmarked.
  Receive(path, {Batch({0x01, 0x03}, 2000)});
  EXPECT_EQ(Receive(path, {Batch({'a'}, 2300)}, ReceiveDisplay::Characters), kBad + "a");
  EXPECT_EQ(EndMark(path), "");
  // So does one whose start was cleared away.
  Receive(path, {Batch({0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB}, 3000)});
  path.BoxCleared();
  EXPECT_EQ(EndMark(path), "");

  path.ResetCounters();
  EXPECT_EQ(path.GoodBlocks() + path.BadBlocks() + path.RxCount(), 0);

  // A poll faster than the gap: every send ends the reply before it, so each reply is
  // marked on its own, and a block's mark comes where it ends, before the next reply.
  const ByteFrame reply{0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB};
  path.SetCheckRow(kModbusRow);
  for (Tick tick = 5000; tick < 5500; tick += 50) {
    path.EndBlock();
    EXPECT_EQ(Receive(path, {Batch(reply, tick)}), "\r\n    \r\n01 03 00 00 00 03 05 CB   ");
  }
  EXPECT_EQ(EndMark(path), kGood);
  EXPECT_EQ(path.GoodBlocks(), 10);
  EXPECT_EQ(path.BadBlocks(), 0);
  path.SetCheckRow(std::nullopt);
  EXPECT_FALSE(path.CheckOn());
  EXPECT_EQ(Receive(path, {Batch({0x05, 0xCB}, 4000), Batch({0x06}, 4500)}), "\r\n    \r\n05 CB \r\n    \r\n06 ");
}

}  // namespace
}  // namespace portprobe
