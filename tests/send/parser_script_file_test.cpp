#include "send/parser_script_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "temp_directory.h"

namespace portprobe {
namespace {

std::filesystem::path WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

TEST(ReadParserScriptFile, ReadsWholeFilesUpTo1048576Bytes) {
  const auto directory = testing::FreshTestDirectory();
  const std::string binary("a\r\n\0\xFF" "b", 6);
  EXPECT_EQ(ReadParserScriptFile(WriteFile(directory / "binary.txt", binary)), binary);
  EXPECT_EQ(ReadParserScriptFile(WriteFile(directory / "empty.txt", "")), "");
  const std::string largest(kMaxParserScriptBytes, 'x');
  EXPECT_EQ(ReadParserScriptFile(WriteFile(directory / "largest.txt", largest)), largest);
  EXPECT_EQ(ReadParserScriptFile(WriteFile(directory / "too_large.txt", largest + "x")), std::nullopt);
  EXPECT_EQ(ReadParserScriptFile(directory / "missing.txt"), std::nullopt);
  EXPECT_EQ(ReadParserScriptFile(directory), std::nullopt);
}

}  // namespace
}  // namespace portprobe
