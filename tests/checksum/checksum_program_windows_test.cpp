#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include <thread>

#include "checksum/blocking_program_host.h"
#include "checksum/checksum_engine.h"
#include "checksum/checksum_program.h"
#include "checksum/result_file.h"
#include "common/executable_directory.h"
#include "common/utf8_path.h"
#include "common/wide_text.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using namespace std::chrono_literals;

ByteFrame Bytes(std::string_view text) { return ByteFrame(text.begin(), text.end()); }

ByteFrame Joined(ByteFrame frame, const ByteFrame& appended) {
  frame.insert(frame.end(), appended.begin(), appended.end());
  return frame;
}

// The test program (checksum_program_stub_windows.cpp) is built beside this test.
std::filesystem::path StubProgram() { return PathFromUtf8(ExecutableDirectory()) / "checksum_program_stub.exe"; }

// Gives up on the program after a moment, as a user who stops it.
struct StoppingHost : BlockingProgramHost {
  using BlockingProgramHost::BlockingProgramHost;
  bool WaitForProgram(RunningProgram& program) override {
    std::this_thread::sleep_for(200ms);
    stillRunning = !program.HasEnded();
    processId = static_cast<DWORD>(program.ProcessId());
    return false;
  }
  bool stillRunning = false;
  DWORD processId = 0;
};

class ChecksumProgramTest : public ::testing::Test {
 protected:
  // Program 1 is the test program, in `folder` (UTF-8) under the scratch folder.
  std::string InstallProgram(const std::string& folder) const {
    const std::filesystem::path directory = scratch_.Path() / PathFromUtf8(folder);
    std::filesystem::create_directories(directory);
    std::filesystem::copy_file(StubProgram(), directory / "self_1.exe");
    return scratch_.Path().string() + "\\" + folder;
  }
  static ByteFrame Apply(ByteFrame frame, const std::string& directory, ChecksumProgramHost& host,
                         ChecksumType type = kFirstCustomChecksum) {
    AppendChecksum(frame, type, host, directory);
    return frame;
  }
  // Runs the test program on a frame that starts with `first`, stopped after a moment:
  // the frame stays as it was. Says whether it still ran then, and its process id.
  std::pair<bool, DWORD> StopAfterAMoment(std::uint8_t first) {
    const std::string directory = InstallProgram("tools");
    std::ostringstream messages;
    StoppingHost host(messages);
    const ByteFrame frame = {first, 0x00, 0x00, 0x55};
    EXPECT_EQ(Apply(frame, directory, host), frame);
    return {host.stillRunning, host.processId};
  }
  ByteFrame Apply(const ByteFrame& frame, const std::string& directory, ChecksumType type = kFirstCustomChecksum) {
    BlockingProgramHost host(messages_);
    return Apply(frame, directory, host, type);
  }

  testing::TempDir scratch_;
  const std::string resultFile_ = scratch_.File("result.bin");
  const testing::ScopedEnvironment resultVariable_{kResultFileVariable, resultFile_};
  std::ostringstream messages_;
};

TEST_F(ChecksumProgramTest, TheWholeExitCodeIsTheAnswerWord) {
  const std::string directory = InstallProgram("tools");
  const std::pair<ByteFrame, ByteFrame> cases[] = {
      {{0x01, 0x00, 0x00, 0x55}, {0x55}},
      {{0x03, 0x12, 0x34, 0x56}, {0x56, 0x34, 0x12}},
      {{0x02, 0x00, 0xCD, 0xAB, 0x77}, {0xAB, 0xCD}},
      {{0x00, 0x00, 0x12, 0x34}, {}},
      {{0x05, 0x00, 0x00, 0x01}, {}},
      {{0xFF, 0x00, 0x00, 0x01}, {}},
      {{0x01}, {}},  // too short for an exit code: the program exits with 0
  };
  for (const auto& [frame, appended] : cases) EXPECT_EQ(Apply(frame, directory), Joined(frame, appended));
  EXPECT_EQ(messages_.str(), "");
}

// The arguments as a program's C runtime splits its command line.
std::vector<std::string> Arguments(const std::string& commandLine) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(WideFromUtf8(commandLine).c_str(), &count);
  std::vector<std::string> split;
  for (int i = 0; i < count; ++i) split.push_back(Utf8FromWide(arguments[i]));
  ::LocalFree(arguments);
  return split;
}

TEST_F(ChecksumProgramTest, ProgramGetsItsPathTwoSpacesAndTheFrameHiddenAndTheResultFileReplacesTheFrame) {
  // A folder name outside the ANSI code page must reach the system whole, and one
  // with a blank must not split the path.
  const std::string directory = InstallProgram("校验 工具");
  const std::string path = directory + "\\self_1.exe";
  EXPECT_EQ(Apply({0x04, 0x00, 0x0A, 0xFF}, directory), Bytes("\"" + path + "\"  04000aff|hidden"));
  const std::vector<std::string> expected = {path, "04000aff|hidden"};
  EXPECT_EQ(Arguments(testing::ReadFile(PathFromUtf8(resultFile_))), expected);
  // An empty frame gives the two spaces alone; the exit code is then 0.
  EXPECT_EQ(Apply({}, directory), ByteFrame{});
  EXPECT_EQ(testing::ReadFile(PathFromUtf8(resultFile_)), "\"" + path + "\"  |hidden");
  EXPECT_EQ(messages_.str(), "");
}

TEST_F(ChecksumProgramTest, MissingOrUnstartableProgramIsReportedAndLeavesTheFrame) {
  const ByteFrame frame = {0x01, 0x00, 0x00, 0x55};
  EXPECT_EQ(Apply(frame, scratch_.Path().string()), frame);
  scratch_.WriteFile("self_2.exe", "not a program");
  EXPECT_EQ(Apply(frame, scratch_.Path().string(), kFirstCustomChecksum + 1), frame);
  const std::string expected = scratch_.Path().string() + "\\self_1.exe :自定义校验程序不存在!\n" +
                               scratch_.Path().string() + "\\self_2.exe :自定义校验程序无法启动(";
  EXPECT_EQ(messages_.str().substr(0, expected.size()), expected);
  EXPECT_TRUE(messages_.str().ends_with(")!\n"));
}

TEST_F(ChecksumProgramTest, StoppedProgramIsEndedAndLeavesTheFrame) {
  const auto [stillRunning, processId] = StopAfterAMoment(0xEE);
  ASSERT_TRUE(stillRunning);
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (process != nullptr) {
    EXPECT_EQ(::WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "still running";
    ::CloseHandle(process);
  }
}

// As a process group on Linux: what the program started ends with it.
TEST_F(ChecksumProgramTest, AStoppedProgramTakesWhatItStartedWithIt) {
  ASSERT_TRUE(StopAfterAMoment(0xED).first);
  std::ifstream written(resultFile_);
  DWORD child = 0;
  ASSERT_TRUE(written >> child) << "the program started no child";
  const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, child);
  if (process == nullptr) return;  // gone already
  const bool ended = ::WaitForSingleObject(process, 2000) == WAIT_OBJECT_0;
  if (!ended) ::TerminateProcess(process, 1);
  ::CloseHandle(process);
  EXPECT_TRUE(ended) << "the program's child " << child << " outlived it";
}

TEST(ResultFile, IsCSelfTxtUnlessTheVariableNamesAnother) {
  {
    const testing::ScopedEnvironment unset(kResultFileVariable, "");
    EXPECT_EQ(ResultFile(), "C:\\self.txt");
  }
  const testing::ScopedEnvironment set(kResultFileVariable, "D:\\out.bin");
  EXPECT_EQ(ResultFile(), "D:\\out.bin");
}

TEST(ResultFile, GivesItsFirst1024BytesAndNothingForWhatCannotBeRead) {
  const testing::TempDir dir;
  std::string content(2000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  EXPECT_EQ(ReadResultFile(dir.WriteFile("long.bin", content)), Bytes(content.substr(0, kResultFileLimit)));
  EXPECT_EQ(ReadResultFile(dir.WriteFile("empty.bin", "")), ByteFrame{});
  EXPECT_EQ(ReadResultFile(dir.File("missing.bin")), std::nullopt);
  EXPECT_EQ(ReadResultFile(dir.Path().string()), std::nullopt);
  EXPECT_EQ(ReadResultFile("NUL"), std::nullopt);
}

}  // namespace
}  // namespace portprobe
