#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/regular_file.h"
#include "files/send_file.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

TEST(LoadSendFileText, NeitherReadsNorWaitsOnAFifo) {
  const testing::TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(LoadSendFileText(fifo).Reason(), kNotRegularFileReason);
}

}  // namespace
}  // namespace portprobe
