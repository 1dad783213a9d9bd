#include <gtest/gtest.h>

#include "files/capture_file.h"

namespace portprobe {
namespace {

TEST(CaptureFile, DefaultsToTtyprobeOnDriveC) {
  EXPECT_EQ(DefaultCaptureFolder(), "c:\\ttyprobe");
  EXPECT_EQ(DefaultCapturePath(), "c:\\ttyprobe\\test1.txt");
}

}  // namespace
}  // namespace portprobe
