#include "files/capture_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "common/utf8_path.h"
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

TEST(CaptureFile, ReportsAFolderThatIsNotThere) {
  TempDir dir;
  EXPECT_EQ(Append(dir.File("missing") + "/capture.txt", "a"), std::strerror(ENOENT));
}

TEST(CaptureFile, TakesAnyName) {
  TempDir dir;
  // A name in Chinese, as a user may give one, is written as it is written.
  const std::string path = dir.Path().string() + "/接收 数据.txt";
  EXPECT_EQ(Append(path, "ab"), "");
  EXPECT_EQ(ReadFile(PathFromUtf8(path)), "ab");
}

}  // namespace
}  // namespace portprobe
