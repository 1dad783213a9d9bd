#include "checksum/checksum_program.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#include "checksum/blocking_program_host.h"
#include "checksum/checksum_engine.h"
#include "checksum/checksum_rows.h"
#include "checksum/result_file.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using namespace std::chrono_literals;

const ByteFrame kFrame = {0x0A, 0xFF};

ByteFrame Bytes(std::string_view text) { return ByteFrame(text.begin(), text.end()); }

// Gives up on the program after a moment, as a user who stops it.
struct StoppingHost : BlockingProgramHost {
  using BlockingProgramHost::BlockingProgramHost;
  bool WaitForProgram(RunningProgram& program) override {
    std::this_thread::sleep_for(200ms);
    stillRunning = !program.HasEnded();
    processId = program.ProcessId();
    return false;
  }
  bool stillRunning = false;
  pid_t processId = -1;
};

class ChecksumProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv(kResultFileVariable, (scratch_.Path() / "result.bin").c_str(), 1);
    std::filesystem::create_directories(Folder());
  }
  void TearDown() override { ::unsetenv(kResultFileVariable); }

  // The programs' folder has a blank and a name outside ASCII, as installs often do.
  std::string Folder() const { return (scratch_.Path() / "校验 工具").string(); }
  std::string ProgramPath(int number) const { return Folder() + "/self_" + std::to_string(number); }
  void WriteProgram(int number, const std::string& body) const {
    scratch_.WriteFile("校验 工具/self_" + std::to_string(number), "#!/bin/sh\n" + body + "\n",
                       std::filesystem::perms::owner_all);
  }
  ByteFrame Apply(ByteFrame frame, ChecksumType type = kFirstCustomChecksum) {
    BlockingProgramHost host(messages_);
    AppendChecksum(frame, type, host, Folder());
    return frame;
  }

  testing::TempDir scratch_;
  std::ostringstream messages_;
};

TEST_F(ChecksumProgramTest, AnswerWordAppendsBytesOrKeepsTheFrame) {
  const std::pair<const char*, ByteFrame> cases[] = {
      {"echo 0x01000055", {0x55}},
      {"echo 0X03123456", {0x56, 0x34, 0x12}},
      {"printf ' \t50344978 is 0x03003412'", {0x12, 0x34, 0x00}},
      {"echo 0x00001234", {}},
      {"echo 0x05000001", {}},
      {"echo 0x101000055", {}},                                // more than 32 bits: not a number
      {"echo 'sum: 0x01000055'; exit 3", {}},                  // no leading number: exit status 3
      {"echo 0x01000055; kill -9 $$", {}},                     // ended by a signal
      {"echo 0x01000055; head -c 1000000 /dev/zero", {0x55}},  // more output than a pipe holds
  };
  for (const auto& [program, appended] : cases) {
    WriteProgram(1, program);
    ByteFrame expected = kFrame;
    expected.insert(expected.end(), appended.begin(), appended.end());
    EXPECT_EQ(Apply(kFrame), expected) << program;
  }
  EXPECT_EQ(messages_.str(), "");
}

TEST_F(ChecksumProgramTest, ResultFileReplacesTheFrame) {
  std::string content(2000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  const std::string source = scratch_.WriteFile("source.bin", content);
  WriteProgram(1, "cp '" + source + "' \"$PORTPROBE_RESULT_FILE\"; echo 0x04000000");
  EXPECT_EQ(Apply(kFrame), Bytes(content.substr(0, kResultFileLimit)));
  WriteProgram(1, ": > \"$PORTPROBE_RESULT_FILE\"; echo 0x04000000");
  EXPECT_EQ(Apply(kFrame), ByteFrame{});
  WriteProgram(1, "rm \"$PORTPROBE_RESULT_FILE\"; echo 0x04000000");
  EXPECT_EQ(Apply(kFrame), kFrame);
  // A FIFO at the path is not read, so it cannot block the terminal.
  WriteProgram(1, "mkfifo \"$PORTPROBE_RESULT_FILE\"; echo 0x04000000");
  EXPECT_EQ(Apply(kFrame), kFrame);
  EXPECT_EQ(messages_.str(), "");
}

TEST_F(ChecksumProgramTest, ProgramGetsTheFrameAsOneLowerCaseArgument) {
  ::setenv("PORTPROBE_TEST_MARK", "inherited", 1);
  WriteProgram(1,
               "printf '%s|%s|%s|%s|%s' \"$0\" $# \"$1\" $(readlink /proc/$$/fd/0) \"$PORTPROBE_TEST_MARK\" "
               "> \"$PORTPROBE_RESULT_FILE\"; echo 0x04000000");
  EXPECT_EQ(Apply(kFrame), Bytes(ProgramPath(1) + "|1|0aff|/dev/null|inherited"));
  EXPECT_EQ(Apply({}), Bytes(ProgramPath(1) + "|0||/dev/null|inherited"));
  ::unsetenv("PORTPROBE_TEST_MARK");
}

TEST_F(ChecksumProgramTest, UnusableProgramIsReportedAndLeavesTheFrame) {
  // Under valgrind a failed exec in the spawned child is not reported back to the spawner.
  if (std::getenv("PORTPROBE_UNDER_VALGRIND") != nullptr) GTEST_SKIP() << "exec errors are not seen under valgrind";
  scratch_.WriteFile("校验 工具/self_1", "#!/bin/sh\necho 0x01000055\n");  // not executable
  scratch_.WriteFile("校验 工具/self_2", "no interpreter line", std::filesystem::perms::owner_all);
  std::filesystem::create_directory(Folder() + "/self_3");
  const auto beyondTheList = static_cast<ChecksumType>(ChecksumRows().size());
  for (ChecksumType type : {4, 5, 6, beyondTheList}) EXPECT_EQ(Apply(kFrame, type), kFrame);
  std::string expected;
  for (const auto& [number, error] : {std::pair{1, EACCES}, {2, ENOEXEC}, {3, EISDIR}}) {
    expected += ProgramPath(number) + " :自定义校验程序无法启动(" + std::generic_category().message(error) + ")!\n";
  }
  // A row beyond the list names a program past the third, which does not exist.
  EXPECT_EQ(messages_.str(), expected + ProgramPath(beyondTheList - 3) + " :自定义校验程序不存在!\n");
}

TEST_F(ChecksumProgramTest, StoppedProgramIsKilledAndLeavesTheFrame) {
  WriteProgram(1, "echo 0x01000055; exec sleep 600");
  StoppingHost host(messages_);
  ByteFrame frame = kFrame;
  AppendChecksum(frame, kFirstCustomChecksum, host, Folder());
  EXPECT_EQ(frame, kFrame);
  ASSERT_TRUE(host.stillRunning);
  EXPECT_EQ(::kill(host.processId, 0), -1) << "still running or left a zombie";
  EXPECT_EQ(errno, ESRCH);
}

// Whether process `pid` has ended: gone, or a zombie waiting for a parent that is
// not this test.
bool ProcessEnded(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const std::size_t state = line.rfind(')') + 2;
  return state < line.size() && (line[state] == 'Z' || line[state] == 'X');
}

TEST_F(ChecksumProgramTest, AStoppedProgramTakesWhatItStartedWithIt) {
  const std::string pidFile = (scratch_.Path() / "children.pid").string();
  WriteProgram(1, "sleep 600 & echo $! > " + pidFile + ".tmp; mv " + pidFile + ".tmp " + pidFile + "; wait");
  struct WaitForChildHost : StoppingHost {
    using StoppingHost::StoppingHost;
    bool WaitForProgram(RunningProgram& program) override {
      for (int i = 0; i < 500 && !std::filesystem::exists(pidFile); ++i) std::this_thread::sleep_for(10ms);
      return StoppingHost::WaitForProgram(program);
    }
    std::string pidFile;
  } host(messages_);
  host.pidFile = pidFile;
  ByteFrame frame = kFrame;
  AppendChecksum(frame, kFirstCustomChecksum, host, Folder());
  EXPECT_EQ(frame, kFrame);
  ASSERT_TRUE(host.stillRunning);
  std::ifstream pids(pidFile);
  pid_t child = 0;
  ASSERT_TRUE(pids >> child);
  bool ended = false;
  for (int i = 0; i < 500 && !ended; ++i) {
    ended = ProcessEnded(child);
    if (!ended) std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(ended) << "the program's sleep " << child << " outlived it";
  if (!ended) ::kill(child, SIGKILL);
}

TEST(ResultFile, DefaultsToTmpSelfTxt) {
  ::unsetenv(kResultFileVariable);
  EXPECT_EQ(ResultFile(), "/tmp/self.txt");
}

}  // namespace
}  // namespace portprobe
