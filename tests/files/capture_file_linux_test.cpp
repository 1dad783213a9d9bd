#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "files/capture_file.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

std::string Append(const std::string& path, std::string_view text) {
  CaptureFile file(path, CaptureFile::Mode::Append);
  file.Write(text);
  return file.Close();
}

TEST(CaptureFile, ReportsTheFirstFailureOnce) {
  // A full device takes the open but refuses every byte.
  CaptureFile full("/dev/full", CaptureFile::Mode::Append);
  full.Write(std::string_view("a"));
  full.Write(std::string_view("b"));
  EXPECT_EQ(full.Close(), std::strerror(ENOSPC));

  testing::TempDir dir;
  const std::string underAFile = dir.WriteFile("plain", "x") + "/capture.txt";
  EXPECT_EQ(Append(underAFile, "a"), std::strerror(ENOTDIR));
}

}  // namespace
}  // namespace portprobe
