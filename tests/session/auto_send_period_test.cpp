#include "session/auto_send_period.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

using Check = AutoSendPeriod::Check;

TEST(AutoSendPeriod, TakesTypedPeriodsAndNeverSpins) {
  AutoSendPeriod period;
  EXPECT_EQ(period.Milliseconds(), 1000u);
  EXPECT_EQ(period.Take("250"), Check::Valid);
  EXPECT_EQ(period.Milliseconds(), 250u);
  EXPECT_EQ(period.Take("abc"), Check::NotANumber);
  EXPECT_EQ(period.Take("-5"), Check::NotANumber);
  EXPECT_EQ(period.Milliseconds(), 250u);
  // Out of range is reported but taken.
  EXPECT_EQ(period.Take("5"), Check::OutOfRange);
  EXPECT_EQ(period.Milliseconds(), 5u);
  EXPECT_EQ(period.Take("10"), Check::Valid);
  EXPECT_EQ(period.Take("10000000"), Check::Valid);
  EXPECT_EQ(period.Take("10000001"), Check::OutOfRange);

  EXPECT_EQ(period.TakeForNextTick("0"), 10u);
  EXPECT_EQ(period.TakeForNextTick("-100"), 10u);
  EXPECT_EQ(period.TakeForNextTick("x"), 10u);
  EXPECT_EQ(period.TakeForNextTick("300ms"), 300u);
  EXPECT_EQ(period.Milliseconds(), 300u);
}

}  // namespace
}  // namespace portprobe
