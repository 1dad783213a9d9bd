#include <gtest/gtest.h>
#include <sys/stat.h>

#include "files/parser_slots.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

TEST(ParserSlots, NeitherReadsNorWaitsOnAFifoOrADevice) {
  const testing::TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ParserSlots none;
  // A list that never ends is not read at all.
  EXPECT_FALSE(none.RestoreFromList("/dev/zero"));
  EXPECT_FALSE(none.RestoreFromList(fifo));
  EXPECT_EQ(none.LoadChosenScript(fifo), ParserSlots::LoadOutcome::Failed);
  EXPECT_EQ(none.ParserCount(), 0);
}

}  // namespace
}  // namespace portprobe
