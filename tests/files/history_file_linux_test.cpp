#include <gtest/gtest.h>

#include "files/history_file.h"

namespace portprobe {
namespace {

TEST(WriteHistoryFile, ReportsADeviceThatRefusesTheBytes) {
  EXPECT_FALSE(WriteHistoryFile("/dev/full", {"01 02"}));
}

}  // namespace
}  // namespace portprobe
