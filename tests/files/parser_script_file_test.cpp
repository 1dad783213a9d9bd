#include "files/parser_script_file.h"

#include <gtest/gtest.h>

#include "common/regular_file.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

TEST(ReadParserScriptFile, ReadsWholeFilesUpTo1048576Bytes) {
  const testing::TempDir temp;
  const std::filesystem::path& directory = temp.Path();
  const std::string binary(
      "a\r\n\0\xFF"
      "b",
      6);
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFile(directory / "binary.txt", binary)), binary);
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFile(directory / "empty.txt", "")), "");
  const std::string largest(kMaxParserScriptBytes, 'x');
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFile(directory / "largest.txt", largest)), largest);
  EXPECT_FALSE(ReadParserScriptFile(testing::WriteFile(directory / "too_large.txt", largest + "x")).has_value());
  EXPECT_FALSE(ReadParserScriptFile(directory / "missing.txt").has_value());
  EXPECT_FALSE(ReadParserScriptFile(directory).has_value());

  // Why, for the callers that tell it.
  EXPECT_EQ(ReadParserScriptFile(testing::kDevicePath).Reason(), kNotRegularFileReason);
  EXPECT_EQ(ReadParserScriptFile(directory / "too_large.txt").Reason(), TooLargeReason(kMaxParserScriptBytes));
}

}  // namespace
}  // namespace portprobe
