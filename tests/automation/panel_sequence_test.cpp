#include <gtest/gtest.h>

#include "automation/send_sequence.h"

namespace portprobe {
namespace {

PanelRow Ticked(std::string body, int delay = 100) {
  PanelRow row;
  row.ticked = true;
  row.body = std::move(body);
  row.delayMilliseconds = delay;
  return row;
}

// The rows the sequence hands out, up to `limit` steps.
std::vector<std::size_t> Walk(SendSequence& sequence, const std::vector<PanelRow>& rows, std::size_t limit,
                              std::vector<SkippedRow>* skipped = nullptr) {
  std::vector<std::size_t> order;
  std::vector<SkippedRow> passedOver;
  while (order.size() < limit) {
    const std::optional<SequenceStep> step = sequence.Next(rows, passedOver);
    if (!step) break;
    order.push_back(step->row);
  }
  if (skipped) *skipped = passedOver;
  return order;
}

TEST(PanelSequence, TickedRowsGoInOrderOnceOrRoundAndRound) {
  std::vector<PanelRow> rows(kPanelRowCount);
  rows[2] = Ticked("01", 300);
  rows[5] = Ticked("02", 0);
  rows[7] = Ticked("03");
  rows[6].body = "04";  // not ticked

  SendSequence once(false);
  std::vector<SkippedRow> skipped;
  const std::optional<SequenceStep> first = once.Next(rows, skipped);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->row, 2u);
  EXPECT_EQ(first->frame, ByteFrame{0x01});
  EXPECT_EQ(first->delayMilliseconds, 300);
  EXPECT_EQ(Walk(once, rows, 10), (std::vector<std::size_t>{5, 7}));
  EXPECT_FALSE(once.Next(rows, skipped));  // stays over

  SendSequence loop(true);
  EXPECT_EQ(Walk(loop, rows, 7), (std::vector<std::size_t>{2, 5, 7, 2, 5, 7, 2}));
  // What the user changes while it runs counts from the next step; the loop switched
  // off ends it after the last row.
  rows[3] = Ticked("05");
  rows[7].ticked = false;
  loop.SetLoop(false);
  EXPECT_EQ(Walk(loop, rows, 10), (std::vector<std::size_t>{3, 5}));
  EXPECT_TRUE(skipped.empty());
}

TEST(PanelSequence, BadRowsArePassedOverAndReportedOnceARun) {
  std::vector<PanelRow> rows(4);
  rows[0] = Ticked("01 0G");
  rows[1] = Ticked("AA");
  rows[2] = Ticked("");  // ticked but empty
  std::vector<SkippedRow> skipped;
  SendSequence loop(true);
  EXPECT_EQ(Walk(loop, rows, 3, &skipped), (std::vector<std::size_t>{1, 1, 1}));
  ASSERT_EQ(skipped.size(), 2u);
  EXPECT_EQ(skipped[0].row, 0u);
  EXPECT_EQ(skipped[0].reason, "不是十六进制字节：\"0G\"");
  EXPECT_EQ(skipped[1].row, 2u);
  EXPECT_EQ(skipped[1].reason, "没有帧");
  EXPECT_TRUE(loop.SentAny());
}

TEST(PanelSequence, ALoopWithNothingToSendEndsInsteadOfSpinning) {
  std::vector<PanelRow> rows(3);
  SendSequence none(true);
  EXPECT_EQ(Walk(none, rows, 5), std::vector<std::size_t>{});
  EXPECT_FALSE(none.SentAny());

  rows[1] = Ticked("ZZ");
  SendSequence allBad(true);
  std::vector<SkippedRow> skipped;
  EXPECT_EQ(Walk(allBad, rows, 5, &skipped), std::vector<std::size_t>{});
  EXPECT_EQ(skipped.size(), 1u);

  // Rows that went bad after a pass that sent end the loop after one more pass.
  rows[1] = Ticked("01");
  SendSequence wentBad(true);
  EXPECT_EQ(Walk(wentBad, rows, 1), std::vector<std::size_t>{1});
  rows[1].body = "0";
  EXPECT_EQ(Walk(wentBad, rows, 5), std::vector<std::size_t>{});
}

}  // namespace
}  // namespace portprobe
