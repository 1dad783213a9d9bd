#include "session/outbox.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

TEST(Outbox, HandsOnBytesInOrderAndCountsWhatWasDropped) {
  Outbox outbox;
  EXPECT_TRUE(outbox.Empty());
  const ByteFrame first{1, 2, 3, 4};
  outbox.Add(first);
  outbox.Handed(3);
  ASSERT_EQ(outbox.Pending().size(), 1u);
  EXPECT_EQ(outbox.Pending()[0], 4);
  const ByteFrame more{5, 6};
  outbox.Add(more);
  EXPECT_EQ(ByteFrame(outbox.Pending().begin(), outbox.Pending().end()), (ByteFrame{4, 5, 6}));
  EXPECT_EQ(outbox.Drop(), 3u);
  EXPECT_TRUE(outbox.Empty());
  EXPECT_EQ(outbox.Drop(), 0u);
}

TEST(Outbox, KeepsWhatBecameOfTheSendUnderWay) {
  Outbox outbox;
  outbox.BeginSend(true);
  outbox.CountWritten(10);
  // A send while bytes of the earlier one are still queued in the link counts on.
  outbox.BeginSend(false);
  outbox.CountWritten(5);
  EXPECT_EQ(outbox.WrittenThisSend(), 15u);
  // So does one while bytes still wait here.
  const ByteFrame bytes{1};
  outbox.Add(bytes);
  outbox.BeginSend(true);
  EXPECT_EQ(outbox.WrittenThisSend(), 15u);
  // Bytes still waiting mean the send was cut.
  EXPECT_TRUE(outbox.TakeCut());
  outbox.Drop();
  EXPECT_FALSE(outbox.TakeCut());
  outbox.MarkCut();
  EXPECT_TRUE(outbox.TakeCut());
  EXPECT_FALSE(outbox.TakeCut());
  // Once everything has gone out, the next send counts afresh and is whole again.
  outbox.MarkCut();
  outbox.BeginSend(true);
  EXPECT_EQ(outbox.WrittenThisSend(), 0u);
  EXPECT_FALSE(outbox.TakeCut());
}

}  // namespace
}  // namespace portprobe
