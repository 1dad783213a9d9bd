// Runs the built portprobe-cli as a process, as scripts and acceptance checks do.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_files.h"

extern char** environ;

namespace portprobe {
namespace {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs portprobe-cli with the arguments in the directory; its output goes through files.
CliRun RunCli(const std::vector<std::string>& args, const std::filesystem::path& directory) {
  const std::string outPath = (directory / "stdout.bin").string();
  const std::string errPath = (directory / "stderr.bin").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> command = {PORTPROBE_CLI};
  command.insert(command.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);
  CliRun run;
  pid_t child = 0;
  if (posix_spawn(&child, PORTPROBE_CLI, &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = testing::ReadFileBytes(outPath);
  run.err = testing::ReadFileBytes(errPath);
  return run;
}

const std::string kStart = "\r\n---Start Parser--------\r\n";
const std::string kExit = "\r\n---Exit Parser  unfreeptr=0--------\r\n";

TEST(ParseCommand, RunsAScriptOverAHexFrameInTheCurrentDirectory) {
  const auto directory = testing::FreshTestDirectory();
  testing::WriteFileBytes(directory / "script.txt", "int n;\r\nvoid main()\r\n{\r\nset n 0 1\r\necho \"n=\" n \"\\r\\n\"\r\n}\r\n");
  const CliRun run = RunCli({"parse", "script.txt", "05"}, directory);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, kStart + "\r\ngi_globalVarCnt:0x1 1\r\n" + "n=5\r\n" + kExit);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(testing::ReadFileBytes(directory / "__parser__0.txt").substr(0, 20), "0000__0001:\tint n;\r\n");
  EXPECT_TRUE(std::filesystem::exists(directory / "__parser__1.txt"));
}

TEST(ParseCommand, WritesPrintedBytesUnchanged) {
  const auto directory = testing::FreshTestDirectory();
  // Bytes of 128 and up, a lone LF, and everything after a 00 byte ignored.
  testing::WriteFileBytes(directory / "bytes.txt", std::string("void main()\n{\necho '\xE4\xBD\xA0\\n'\n}\n\0echo 'x'", 38));
  const CliRun run = RunCli({"parse", "bytes.txt"}, directory);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, kStart + "\r\ngi_globalVarCnt:0x0 0\r\n" + "\xE4\xBD\xA0\n" + kExit);
}

TEST(ParseCommand, DecodesAtMost512FrameBytes) {
  const auto directory = testing::FreshTestDirectory();
  testing::WriteFileBytes(directory / "frame.txt", "void main()\n{\nset a 511 1\nset b 512 1\nset c 0 1\necho a ' ' b ' ' c\n}\n");
  std::string hex;
  for (int i = 0; i < 513; ++i) hex += "07 ";
  EXPECT_EQ(RunCli({"parse", "frame.txt", hex}, directory).out, kStart + "\r\ngi_globalVarCnt:0x0 0\r\n7 0 7" + kExit);
  EXPECT_EQ(RunCli({"parse", "frame.txt"}, directory).out, kStart + "\r\ngi_globalVarCnt:0x0 0\r\n0 0 0" + kExit);
  EXPECT_EQ(RunCli({"parse", "frame.txt", "zz 07"}, directory).out,
            kStart + "\r\ngi_globalVarCnt:0x0 0\r\n0 0 0" + kExit);
}

TEST(ParseCommand, RefusesScriptsThatCannotBeLoadedAndBadArguments) {
  const auto directory = testing::FreshTestDirectory();
  for (const std::string& script : {std::string("missing.txt"), directory.string()}) {
    const CliRun run = RunCli({"parse", script, "05"}, directory);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "载入解析器失败\n");
  }
  for (const std::vector<std::string>& args : {std::vector<std::string>{"parse"}, {"parse", "a", "b", "c"}}) {
    const CliRun run = RunCli(args, directory);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "usage: portprobe-cli parse SCRIPT [HEXTEXT]\n");
  }
}

}  // namespace
}  // namespace portprobe
