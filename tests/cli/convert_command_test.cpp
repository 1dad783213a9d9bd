#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/cli_run.h"

namespace portprobe {
namespace {

testing::CliRun Convert(const std::vector<std::string>& args) {
  std::vector<std::string> all = {"convert"};
  all.insert(all.end(), args.begin(), args.end());
  return testing::RunProgram(PORTPROBE_CLI_PATH, all);
}

TEST(ConvertCommand, PrintsWhatTheMenuWouldShow) {
  EXPECT_EQ(Convert({"dec2hex", "1234"}).out, "04D2\n");
  EXPECT_EQ(Convert({"hex2dec", "FF FF FF FF"}).out, "-1\n");
  const testing::CliRun binary = Convert({"hex2bin", "A5 0F"});
  EXPECT_EQ(binary.exitStatus, 0);
  EXPECT_EQ(binary.out, "A5 0F -> 1010 0101 0000 1111 \n");
  EXPECT_TRUE(binary.err.empty());
}

TEST(ConvertCommand, RejectsBadArgumentsWithUsage) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {"dec2hex"}, {"oct2hex", "12"}, {"dec2hex", "1", "2"}}) {
    const testing::CliRun run = Convert(args);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("usage: portprobe-cli convert"), std::string::npos);
  }
}

// What the window would convert loosely (atoi, hex up to where it stops) a script is
// told about; the bounds themselves still convert.
TEST(ConvertCommand, RefusesTextThatIsNoNumberOrBeyond32Bits) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
      {{"dec2hex", "abc"}, "不是十进制整数: abc"},
      {{"dec2hex", "12x"}, "不是十进制整数: 12x"},
      {{"dec2hex", "2147483648"}, "超出32位整数的范围: 2147483648"},
      {{"dec2hex", "-99999999999999999999"}, "超出32位整数的范围: -99999999999999999999"},
      {{"hex2dec", "01 0G"}, "第4个字符起不是十六进制: 01 0G"},
      {{"hex2dec", "０１"}, "第1个字符起不是十六进制: ０１"},
      {{"hex2bin", "01 02 3"}, "第7个字符起不是十六进制: 01 02 3"},
      {{"hex2dec", "01 02 03 04 05"}, "超出32位整数的范围: 01 02 03 04 05"},
      {{"hex2dec", "\x1b]2;x\x07"}, "第1个字符起不是十六进制: \\x1B]2;x\\x07"}};
  for (const auto& [args, message] : bad) {
    const testing::CliRun run = Convert(args);
    EXPECT_EQ(run.exitStatus, 2) << args[1];
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "portprobe-cli convert: " + message + "\n");
  }
  EXPECT_EQ(Convert({"dec2hex", "-2147483648"}).out, "80000000\n");
  EXPECT_EQ(Convert({"dec2hex", " +2147483647 "}).out, "7FFFFFFF\n");
}

}  // namespace
}  // namespace portprobe
