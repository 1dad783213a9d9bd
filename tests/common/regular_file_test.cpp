#include "common/regular_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/utf8_path.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::TempDir;

// The reason a path is not read, or "" when it is.
std::string Refusal(const std::string& path, std::uint64_t maxBytes = kNoSizeLimit) {
  return OpenRegularFile(path, maxBytes).Reason();
}

TEST(OpenRegularFile, RefusesFoldersAndMissingFilesAndTakesAnyName) {
  TempDir dir;
  EXPECT_EQ(Refusal(dir.Path().string()), kNotRegularFileReason);
  EXPECT_EQ(Refusal(dir.File("missing")), kMissingFileReason);
  // A name in Chinese, as a user may give one, is read as it is written.
  const std::string name = dir.Path().string() + "/校验 数据.txt";
  testing::WriteFile(PathFromUtf8(name), "abc");
  EXPECT_EQ(*ReadRegularFile(name, 3), "abc");
}

TEST(ReadRegularFile, ReadsUpToTheLimitAndRefusesMoreWithoutReadingIt) {
  TempDir dir;
  const std::string four("a\0\r\n", 4);
  EXPECT_EQ(*ReadRegularFile(dir.WriteFile("four.txt", four), 4), four);
  EXPECT_EQ(*ReadRegularFile(dir.WriteFile("empty.txt", ""), 0), "");
  const Expected<std::string> tooLarge = ReadRegularFile(dir.File("four.txt"), 3);
  EXPECT_FALSE(tooLarge.has_value());
  EXPECT_EQ(tooLarge.Reason(), TooLargeReason(3));
  EXPECT_NE(tooLarge.Reason().find('3'), std::string::npos);

  // A sparse file of 1 GiB is refused from its size alone.
  const std::string sparse = dir.WriteFile("sparse.bin", "");
  std::filesystem::resize_file(sparse, std::uint64_t{1} << 30);
  const Expected<std::string> sparseRead = ReadRegularFile(sparse, 1 << 20);
  EXPECT_FALSE(sparseRead.has_value());
  EXPECT_EQ(sparseRead.Reason(), TooLargeReason(1 << 20));
  EXPECT_EQ(Refusal(sparse), "");
}

}  // namespace
}  // namespace portprobe
