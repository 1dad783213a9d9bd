#include "files/parser_script_file.h"

#include <gtest/gtest.h>

#include "common/regular_file.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

TEST(ReadParserScriptFile, ReadsWholeFilesUpTo1048576Bytes) {
  const testing::TempDir temp;
  const std::filesystem::path& directory = temp.Path();
  const std::string binary("a\r\n\0\xFF" "b", 6);
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFile(directory / "binary.txt", binary)), binary);
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFile(directory / "empty.txt", "")), "");
  const std::string largest(kMaxParserScriptBytes, 'x');
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFile(directory / "largest.txt", largest)), largest);
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFile(directory / "too_large.txt", largest + "x")), std::nullopt);
  EXPECT_EQ(ReadParserScriptFile(directory / "missing.txt"), std::nullopt);
  EXPECT_EQ(ReadParserScriptFile(directory), std::nullopt);

  // Why, for the callers that tell it.
  std::string error;
  EXPECT_EQ(ReadParserScriptFile("/dev/zero", &error), std::nullopt);
  EXPECT_EQ(error, kNotRegularFileReason);
  EXPECT_EQ(ReadParserScriptFile(directory / "too_large.txt", &error), std::nullopt);
  EXPECT_EQ(error, TooLargeReason(kMaxParserScriptBytes));
}

}  // namespace
}  // namespace portprobe
