// Runs the built portprobe-cli as a process, as scripts and acceptance checks do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

testing::CliRun RunCli(const std::vector<std::string>& args, const std::filesystem::path& directory) {
  return testing::RunProgram(PORTPROBE_CLI_PATH, args, directory.string());
}

const std::string kStart = "\r\n---Start Parser--------\r\n";
const std::string kExit = "\r\n---Exit Parser  unfreeptr=0--------\r\n";

TEST(ParseCommand, RunsAScriptOverAHexFrameInTheCurrentDirectory) {
  const testing::TempDir temp;
  const std::filesystem::path& directory = temp.Path();
  testing::WriteFile(directory / "script.txt", "int n;\r\nvoid main()\r\n{\r\nset n 0 1\r\necho \"n=\" n \"\\r\\n\"\r\n}\r\n");
  const testing::CliRun run = RunCli({"parse", "script.txt", "05"}, directory);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, kStart + "\r\ngi_globalVarCnt:0x1 1\r\n" + "n=5\r\n" + kExit);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(testing::ReadFile(directory / "__parser__0.txt").substr(0, 20), "0000__0001:\tint n;\r\n");
  EXPECT_TRUE(std::filesystem::exists(directory / "__parser__1.txt"));
}

TEST(ParseCommand, WritesPrintedBytesUnchanged) {
  const testing::TempDir temp;
  const std::filesystem::path& directory = temp.Path();
  // Bytes of 128 and up, a lone LF, and everything after a 00 byte ignored.
  testing::WriteFile(directory / "bytes.txt", std::string("void main()\n{\necho '\xE4\xBD\xA0\\n'\n}\n\0echo 'x'", 38));
  const testing::CliRun run = RunCli({"parse", "bytes.txt"}, directory);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, kStart + "\r\ngi_globalVarCnt:0x0 0\r\n" + "\xE4\xBD\xA0\n" + kExit);
}

TEST(ParseCommand, DecodesAtMost512FrameBytes) {
  const testing::TempDir temp;
  const std::filesystem::path& directory = temp.Path();
  testing::WriteFile(directory / "frame.txt", "void main()\n{\nset a 511 1\nset b 512 1\nset c 0 1\necho a ' ' b ' ' c\n}\n");
  std::string hex;
  for (int i = 0; i < 513; ++i) hex += "07 ";
  EXPECT_EQ(RunCli({"parse", "frame.txt", hex}, directory).out, kStart + "\r\ngi_globalVarCnt:0x0 0\r\n7 0 7" + kExit);
  EXPECT_EQ(RunCli({"parse", "frame.txt"}, directory).out, kStart + "\r\ngi_globalVarCnt:0x0 0\r\n0 0 0" + kExit);
  EXPECT_EQ(RunCli({"parse", "frame.txt", "zz 07"}, directory).out,
            kStart + "\r\ngi_globalVarCnt:0x0 0\r\n0 0 0" + kExit);
}

TEST(ParseCommand, RefusesScriptsThatCannotBeLoadedAndBadArguments) {
  const testing::TempDir temp;
  const std::filesystem::path& directory = temp.Path();
  for (const std::string& script : {std::string("missing.txt"), directory.string()}) {
    const testing::CliRun run = RunCli({"parse", script, "05"}, directory);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "载入解析器失败\n");
  }
  for (const std::vector<std::string>& args : {std::vector<std::string>{"parse"}, {"parse", "a", "b", "c"}}) {
    const testing::CliRun run = RunCli(args, directory);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "usage: portprobe-cli parse SCRIPT [HEXTEXT]\n");
  }
}

}  // namespace
}  // namespace portprobe
