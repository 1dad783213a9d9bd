#include "session/received_blocks.h"

#include <gtest/gtest.h>

#include <vector>

namespace portprobe {
namespace {

const ByteFrame kOne{0x01};
const ByteFrame kTwo{0x02};

std::vector<ByteFrame> Bytes(const std::vector<ReceivedBlock>& blocks) {
  std::vector<ByteFrame> bytes;
  for (const ReceivedBlock& block : blocks) bytes.push_back(block.bytes);
  return bytes;
}

using Frames = std::vector<ByteFrame>;

// A pause longer than the gap, counted between arrival ticks, ends a block; exactly the
// gap does not. A send ends one at once, and the block after it is numbered anew.
TEST(ReceivedBlocks, ABlockEndsAfterAPauseLongerThanTheGapOrAtASend) {
  ReceivedBlocks blocks(20);
  EXPECT_EQ(blocks.Deadline(), std::nullopt);
  EXPECT_TRUE(blocks.BeginsBlock(1000));
  EXPECT_TRUE(blocks.Add(kOne, 1000, WallTime()).empty());
  EXPECT_FALSE(blocks.BeginsBlock(1020));
  EXPECT_TRUE(blocks.Add(kTwo, 1020, WallTime()).empty());
  EXPECT_EQ(blocks.Deadline(), Tick{1040});
  const std::vector<ReceivedBlock> ended = blocks.Add(kOne, 1041, WallTime());
  ASSERT_EQ(ended.size(), 1u);
  EXPECT_EQ(ended[0].bytes, (ByteFrame{0x01, 0x02}));
  EXPECT_EQ(ended[0].number, 1u);
  EXPECT_EQ(ended[0].lastTick, 1020u);

  EXPECT_EQ(blocks.EndIfSilent(1061), std::nullopt);
  const std::optional<ReceivedBlock> silent = blocks.EndIfSilent(1062);
  ASSERT_TRUE(silent);
  EXPECT_EQ(silent->bytes, kOne);
  EXPECT_EQ(silent->number, 2u);
  EXPECT_EQ(blocks.EndIfSilent(5000), std::nullopt);
  EXPECT_TRUE(blocks.Add({}, 6000, WallTime()).empty());
  EXPECT_FALSE(blocks.UnderWay());

  // A poll faster than the gap: each send ends the reply before it.
  const WallTime began = WallTime() + std::chrono::seconds(7);
  for (Tick tick = 7000; tick < 7200; tick += 50) {
    blocks.EndNow();
    blocks.Add(kOne, tick + 5, began);
    EXPECT_TRUE(blocks.Add(kTwo, tick + 10, WallTime()).empty());
  }
  const std::optional<ReceivedBlock> reply = blocks.EndNow();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->bytes, (ByteFrame{0x01, 0x02}));
  EXPECT_EQ(reply->number, 6u);
  EXPECT_EQ(reply->began, began);
  EXPECT_EQ(blocks.EndNow(), std::nullopt);
}

TEST(ReceivedBlocks, TicksThatWrapAroundKeepTheirOrder) {
  ReceivedBlocks blocks(100);
  const Tick last = 0xFFFFFFF0u;
  blocks.Add(kOne, last, WallTime());
  EXPECT_EQ(blocks.Deadline(), Tick{0x54});
  EXPECT_TRUE(blocks.Add(kTwo, 0x50, WallTime()).empty());  // 0x60 ticks later
  EXPECT_EQ(blocks.EndIfSilent(0xB4), std::nullopt);
  EXPECT_TRUE(blocks.EndIfSilent(0xB5));
  blocks.Add(kOne, 0xFFFFFFFFu, WallTime());
  EXPECT_EQ(Bytes(blocks.Add(kTwo, 100, WallTime())), Frames{kOne});
}

// A batch may end the block before it and fill the next one; nothing is lost.
TEST(ReceivedBlocks, ALineThatNeverPausesIsCutInto64KiBBlocksWithNothingLost) {
  ReceivedBlocks blocks(100);
  blocks.Add(kOne, 0, WallTime());
  ByteFrame flood(ReceivedBlocks::kMaxBlockBytes + 10);
  for (std::size_t i = 0; i < flood.size(); ++i) flood[i] = static_cast<std::uint8_t>(i);
  const std::vector<ReceivedBlock> ended = blocks.Add(flood, 500, WallTime());
  ASSERT_EQ(ended.size(), 2u);
  EXPECT_EQ(ended[0].bytes, kOne);
  EXPECT_EQ(ended[1].bytes, ByteFrame(flood.begin(), flood.begin() + ReceivedBlocks::kMaxBlockBytes));
  EXPECT_EQ(blocks.Room(), ReceivedBlocks::kMaxBlockBytes - 10);
  const std::optional<ReceivedBlock> rest = blocks.EndNow();
  ASSERT_TRUE(rest);
  EXPECT_EQ(rest->bytes, ByteFrame(flood.end() - 10, flood.end()));
  EXPECT_EQ(rest->number, 3u);
}

}  // namespace
}  // namespace portprobe
