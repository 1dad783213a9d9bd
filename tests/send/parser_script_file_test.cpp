#include "send/parser_script_file.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace portprobe {
namespace {

TEST(ReadParserScriptFile, ReadsWholeFilesUpTo1048576Bytes) {
  const auto directory = testing::FreshTestDirectory();
  const std::string binary("a\r\n\0\xFF" "b", 6);
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFileBytes(directory / "binary.txt", binary)), binary);
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFileBytes(directory / "empty.txt", "")), "");
  const std::string largest(kMaxParserScriptBytes, 'x');
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFileBytes(directory / "largest.txt", largest)), largest);
  EXPECT_EQ(ReadParserScriptFile(testing::WriteFileBytes(directory / "too_large.txt", largest + "x")), std::nullopt);
  EXPECT_EQ(ReadParserScriptFile(directory / "missing.txt"), std::nullopt);
  EXPECT_EQ(ReadParserScriptFile(directory), std::nullopt);
}

}  // namespace
}  // namespace portprobe
