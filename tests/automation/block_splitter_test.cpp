// Received bytes cut into blocks at the frame gap.
#include "automation/block_splitter.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace portprobe {
namespace {

const ByteFrame kOne{0x01};
const ByteFrame kTwo{0x02};

TEST(BlockSplitter, ABlockEndsOnlyAfterAPauseLongerThanTheGap) {
  BlockSplitter splitter(20);
  EXPECT_EQ(splitter.Deadline(), std::nullopt);
  EXPECT_EQ(splitter.Add(kOne, 1000), std::nullopt);
  EXPECT_EQ(splitter.Add(kTwo, 1010), std::nullopt);
  // The deadline counts from the last bytes.
  EXPECT_EQ(splitter.Deadline(), Tick{1030});
  // Exactly the gap is no pause yet; one tick past it is.
  EXPECT_EQ(splitter.Add(kOne, 1030), std::nullopt);
  EXPECT_EQ(splitter.Add(kTwo, 1051), (ByteFrame{0x01, 0x02, 0x01}));
  EXPECT_EQ(splitter.Deadline(), Tick{1071});

  EXPECT_EQ(splitter.EndIfSilent(1071), std::nullopt);
  EXPECT_EQ(splitter.EndIfSilent(1072), kTwo);
  EXPECT_EQ(splitter.Deadline(), std::nullopt);
  EXPECT_EQ(splitter.EndIfSilent(5000), std::nullopt);

  // Nothing read adds nothing and ends nothing.
  EXPECT_EQ(splitter.Add({}, 6000), std::nullopt);
  EXPECT_EQ(splitter.Deadline(), std::nullopt);

  // A closing port ends its block at once, silent or not.
  splitter.Add(kOne, 7000);
  EXPECT_TRUE(splitter.EndedBy(7021));
  EXPECT_FALSE(splitter.EndedBy(7020));
  EXPECT_EQ(splitter.LastTick(), 7000u);
  EXPECT_EQ(splitter.EndNow(), kOne);
  EXPECT_EQ(splitter.EndNow(), std::nullopt);
  EXPECT_FALSE(splitter.EndedBy(9000));
  EXPECT_EQ(splitter.Deadline(), std::nullopt);
  EXPECT_EQ(splitter.Add(kTwo, 9000), std::nullopt);
  EXPECT_EQ(splitter.EndIfSilent(9021), kTwo);
}

TEST(BlockSplitter, TicksThatWrapAroundKeepTheirOrder) {
  BlockSplitter splitter(100);
  const Tick last = 0xFFFFFFF0u;
  splitter.Add(kOne, last);
  EXPECT_EQ(splitter.Deadline(), Tick{0x54});
  EXPECT_EQ(splitter.Add(kTwo, 0x50), std::nullopt);  // 0x60 ticks later
  EXPECT_EQ(splitter.EndIfSilent(0xB4), std::nullopt);
  EXPECT_EQ(splitter.EndIfSilent(0xB5), (ByteFrame{0x01, 0x02}));
  splitter.Add(kOne, 0xFFFFFFFFu);
  EXPECT_EQ(splitter.Add(kTwo, 100), kOne);
}

TEST(BlockSplitter, ALineThatNeverPausesIsCutInto64KiBBlocksWithNothingLost) {
  BlockSplitter splitter(100);
  ByteFrame chunk(40000);
  for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(splitter.Add(chunk, 0), std::nullopt);
  const std::optional<ByteFrame> block = splitter.Add(chunk, 1);
  ASSERT_TRUE(block);
  ASSERT_EQ(block->size(), BlockSplitter::kMaxBlockBytes);
  EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), block->begin()));
  EXPECT_TRUE(std::equal(block->begin() + 40000, block->end(), chunk.begin()));
  // The rest of the second chunk starts the next block.
  const std::size_t rest = 2 * chunk.size() - BlockSplitter::kMaxBlockBytes;
  const std::optional<ByteFrame> next = splitter.EndIfSilent(1000);
  ASSERT_TRUE(next);
  EXPECT_TRUE(std::equal(next->begin(), next->end(), chunk.end() - static_cast<std::ptrdiff_t>(rest), chunk.end()));
  // The next block starts empty again.
  splitter.Add(kOne, 2000);
  EXPECT_EQ(splitter.EndIfSilent(3000), kOne);
}

}  // namespace
}  // namespace portprobe
