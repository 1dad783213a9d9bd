#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::CliRun;
using testing::TempDir;

CliRun RunCli(const std::vector<std::string>& args, const std::string& program = PORTPROBE_CLI_PATH) {
  return testing::RunProgram(program, args);
}

TEST(ChecksumCommand, PrintsTheFrameWithTheChecksumOfTheRow) {
  const CliRun run = RunCli({"checksum", "xor", "0b 03 07 00 34 12 00 00 01 01 00"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, "0B 03 07 00 34 12 00 00   01 01 00 29 \n");
  EXPECT_EQ(run.err, "");
  const char* rows[] = {"1", "2", "3", "xor", "crc16le", "crc16be"};
  const std::string appended[] = {"31 ", "C3 31 ", "31 C3 "};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(RunCli({"checksum", rows[i], "313233343536373839"}).out,
              "31 32 33 34 35 36 37 38   39 " + appended[i % 3] + "\n")
        << rows[i];
  }
}

TEST(ChecksumCommand, NamesAndRunsTheRowsAfterTheCustomPrograms) {
  const CliRun modbus = RunCli({"checksum", "crc16-modbus", "01 03 00 00 00 03"});
  EXPECT_EQ(modbus.exitStatus, 0);
  EXPECT_EQ(modbus.out, "01 03 00 00 00 03 05 CB   \n");
  EXPECT_EQ(RunCli({"checksum", "7", "01 03 00 00 00 03"}).out, modbus.out);
  const std::pair<const char*, const char*> rows[] = {{"crc16-ccitt-false", "29 B1 "},
                                                      {"crc16-kermit", "89 21 "},
                                                      {"crc8", "F4 "},
                                                      {"crc8-maxim", "A1 "},
                                                      {"crc32", "26 39 F4 CB "},
                                                      {"sum8", "DD "},
                                                      {"lrc", "23 "}};
  for (const auto& [name, appended] : rows) {
    EXPECT_EQ(RunCli({"checksum", name, "313233343536373839"}).out,
              std::string("31 32 33 34 35 36 37 38   39 ") + appended + "\n")
        << name;
  }
  const CliRun list = RunCli({"checksum", "--list"});
  EXPECT_EQ(list.exitStatus, 0);
  EXPECT_EQ(list.out,
            "xor\ncrc16le\ncrc16be\ncustom1\ncustom2\ncustom3\ncrc16-modbus\ncrc16-ccitt-false\n"
            "crc16-kermit\ncrc8\ncrc8-maxim\ncrc32\nsum8\nlrc\n");
}

TEST(ChecksumCommand, RejectsBadArgumentsWithUsageAndAnUnknownRowWithTheNames) {
  const std::vector<std::vector<std::string>> bad = {
      {"checksum"}, {"checksum", "xor"}, {"checksum", "xor", "01", "02"}, {"checksum", "--list", "01"}};
  for (const std::vector<std::string>& args : bad) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("usage: portprobe-cli checksum ROW HEXTEXT")) << run.err;
  }
  for (const std::string row : {"0", "15", "crc64"}) {
    const CliRun run = RunCli({"checksum", row, "01"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("未知的校验: " + row + "\n可用的校验:\nxor\n")) << run.err;
    EXPECT_TRUE(run.err.ends_with("\nlrc\n")) << run.err;
  }
  // A frame that the hex grammar stops in is refused, not summed in part.
  const CliRun notHex = RunCli({"checksum", "xor", "01 02,03"});
  EXPECT_EQ(notHex.exitStatus, 2);
  EXPECT_EQ(notHex.out, "");
  EXPECT_EQ(notHex.err, "portprobe-cli checksum: 第6个字符起不是十六进制: 01 02,03\n");
}

TEST(ChecksumCommand, RunsCustomProgramsBesideTheExecutable) {
  const TempDir scratch;
  const std::string cli = (scratch.Path() / "portprobe-cli").string();
  std::filesystem::copy_file(PORTPROBE_CLI_PATH, cli);
  scratch.WriteFile("self_1", "#!/bin/sh\necho 0x02003412\n", std::filesystem::perms::owner_all);
  EXPECT_EQ(RunCli({"checksum", "custom1", "0a ff"}, cli).out, "0A FF 12 34 \n");
  EXPECT_EQ(RunCli({"checksum", "4", "0a ff"}, cli).out, "0A FF 12 34 \n");
  const CliRun missing = RunCli({"checksum", "custom2", "0a ff"}, cli);
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_EQ(missing.out, "0A FF \n");
  EXPECT_EQ(missing.err, (scratch.Path() / "self_2").string() + " :自定义校验程序不存在!\n");
}

}  // namespace
}  // namespace portprobe
