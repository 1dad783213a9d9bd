#include <gtest/gtest.h>

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

}  // namespace
}  // namespace portprobe
