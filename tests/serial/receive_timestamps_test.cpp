#include "serial/receive_timestamps.h"

#include <gtest/gtest.h>

#include "support/local_time.h"

namespace portprobe {
namespace {

using testing::LocalTime;

TEST(TimestampText, ShowsLocalTimeWithMillisecondsPadded) {
  EXPECT_EQ(TimestampText(LocalTime(12, 34, 56, 789)), "[12:34:56.789] ");
  EXPECT_EQ(TimestampText(LocalTime(1, 2, 3, 4)), "[01:02:03.004] ");
  EXPECT_EQ(TimestampText(LocalTime(23, 59, 59, 999)), "[23:59:59.999] ");
  // The same clock without the brackets, as portprobe-cli monitor starts its lines.
  EXPECT_EQ(ClockText(LocalTime(1, 2, 3, 4)), "01:02:03.004");
}

// Each piece is stamped with its own time; a line takes the time of the piece that
// holds its first byte.
TEST(LineTimestamps, StampsEachLineWithThePieceThatBeganItAcrossSplitBreaks) {
  const WallTime t1 = LocalTime(10, 0, 0, 1);
  const WallTime t2 = LocalTime(10, 0, 0, 2);
  const WallTime t3 = LocalTime(10, 0, 0, 3);
  const WallTime t4 = LocalTime(10, 0, 0, 4);
  LineTimestamps stamps;
  std::string text;
  stamps.Stamp("ab\r", t1, text);
  EXPECT_EQ(text, "[10:00:00.001] ab\r");
  // The LF completes the CR LF of the piece before: no line begins with it.
  stamps.Stamp("\ncd\r\n", t2, text);
  EXPECT_EQ(text, "[10:00:00.001] ab\r\n[10:00:00.002] cd\r\n");
  // A line ended with the last piece begins with the next one, at its time.
  text.clear();
  stamps.Stamp("", t3, text);
  stamps.Stamp("e", t3, text);
  stamps.Stamp("f", t4, text);
  EXPECT_EQ(text, "[10:00:00.003] ef");
  // Lone CRs and LFs each end a line, empty lines included; a CR after a CR is a break of its own.
  text.clear();
  stamps.Stamp("\n\ng\r\rh", t4, text);
  EXPECT_EQ(text, "\n[10:00:00.004] \n[10:00:00.004] g\r[10:00:00.004] \r[10:00:00.004] h");

  // A line continued elsewhere gets no stamp until its break; a line started elsewhere gets one.
  text.clear();
  stamps.ContinueLine();
  stamps.Stamp("x\r", t1, text);
  stamps.StartLine();
  stamps.Stamp("\ny", t2, text);
  EXPECT_EQ(text, "x\r[10:00:00.002] \n[10:00:00.002] y");
}

}  // namespace
}  // namespace portprobe
