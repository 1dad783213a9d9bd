#include "files/capture_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::ReadFile;
using testing::TempDir;

std::string Append(const std::string& path, std::string_view text) {
  CaptureFile file(path, CaptureFile::Mode::Append);
  file.Write(text);
  return file.Close();
}

TEST(CaptureFile, AppendsAtTheEndAndReplacesTheWholeContent) {
  TempDir dir;
  const std::string path = dir.File("capture.txt");
  EXPECT_EQ(Append(path, std::string("ab\0\xFF", 4)), "");
  EXPECT_EQ(Append(path, "cd"), "");
  EXPECT_EQ(ReadFile(path), std::string("ab\0\xFF"
                                        "cd",
                                        6));

  // A shorter text leaves nothing of the longer file behind it.
  CaptureFile save(path, CaptureFile::Mode::Replace);
  save.Write(std::string_view("XY"));
  EXPECT_EQ(save.Close(), "");
  EXPECT_EQ(ReadFile(path), "XY");
}

TEST(CaptureFile, ReportsTheFirstFailureOnce) {
  // A full device takes the open but refuses every byte.
  CaptureFile full("/dev/full", CaptureFile::Mode::Append);
  full.Write(std::string_view("a"));
  full.Write(std::string_view("b"));
  EXPECT_EQ(full.Close(), std::strerror(ENOSPC));

  TempDir dir;
  const std::string underAFile = dir.WriteFile("plain", "x") + "/capture.txt";
  EXPECT_EQ(Append(underAFile, "a"), std::strerror(ENOTDIR));
}

}  // namespace
}  // namespace portprobe
