// Runs the built portprobe-cli as a process, as scripts and acceptance checks do.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/cli_run.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

const std::string kStart = "\r\n---Start Parser--------\r\n";
const std::string kExit = "\r\n---Exit Parser  unfreeptr=0--------\r\n";
const std::string kNoGlobals = "\r\ngi_globalVarCnt:0x0 0\r\n";
const std::string kEndless = "void main()\r\n{\r\nagain:\r\necho '.'\r\ngoto again\r\n}\r\n";

// Runs the command line tool in a working directory of its own, with a state folder
// of its own.
class ParseCommand : public ::testing::Test {
 protected:
  testing::CliRun RunCli(const std::vector<std::string>& args) {
    return testing::RunProgram(PORTPROBE_CLI_PATH, args, directory_.string());
  }
  std::string Write(const std::string& name, const std::string& text) { return working_.WriteFile(name, text); }
  // What a script prints between the banners and the global count line.
  std::string Printed(const std::string& script, const std::string& hexText = "") {
    Write("script.txt", script);
    const testing::CliRun run = RunCli({"parse", "script.txt", hexText});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(run.out.starts_with(kStart + kNoGlobals) && run.out.ends_with(kExit)) << run.out;
    return run.out.substr(kStart.size() + kNoGlobals.size(),
                          run.out.size() - kStart.size() - kNoGlobals.size() - kExit.size());
  }
  std::string StateFile(const std::string& name) const { return (state_.Path() / "portprobe" / name).string(); }

  testing::TempDir working_;
  testing::TempDir state_;
  testing::ScopedEnvironment stateHome_{"XDG_STATE_HOME", state_.Path().string()};
  const std::filesystem::path& directory_ = working_.Path();
};

TEST_F(ParseCommand, RunsAScriptOverAHexFrameAndTracesIntoTheStateFolder) {
  Write("script.txt", "int n;\r\nvoid main()\r\n{\r\nset n 0 1\r\necho \"n=\" n \"\\r\\n\"\r\n}\r\n");
  const testing::CliRun run = RunCli({"parse", "script.txt", "05"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, kStart + "\r\ngi_globalVarCnt:0x1 1\r\n" + "n=5\r\n" + kExit);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(testing::ReadFile(StateFile("__parser__0.txt")).substr(0, 20), "0000__0001:\tint n;\r\n");
  EXPECT_TRUE(std::filesystem::exists(StateFile("__parser__1.txt")));
  // The working directory holds only the script.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_), std::filesystem::directory_iterator()), 1);
}

TEST_F(ParseCommand, WritesPrintedBytesUnchanged) {
  // Bytes of 128 and up, a lone LF, and everything after a 00 byte ignored.
  Write("bytes.txt", std::string("void main()\n{\necho '\xE4\xBD\xA0\\n'\n}\n\0echo 'x'", 38));
  const testing::CliRun run = RunCli({"parse", "bytes.txt"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, kStart + kNoGlobals + "\xE4\xBD\xA0\n" + kExit);
}

TEST_F(ParseCommand, DecodesAtMost512FrameBytes) {
  Write("frame.txt", "void main()\n{\nset a 511 1\nset b 512 1\nset c 0 1\necho a ' ' b ' ' c\n}\n");
  std::string hex;
  for (int i = 0; i < 513; ++i) hex += "07 ";
  EXPECT_EQ(RunCli({"parse", "frame.txt", hex}).out, kStart + kNoGlobals + "7 0 7" + kExit);
  EXPECT_EQ(RunCli({"parse", "frame.txt"}).out, kStart + kNoGlobals + "0 0 0" + kExit);
  EXPECT_EQ(RunCli({"parse", "frame.txt", "zz 07"}).out, kStart + kNoGlobals + "0 0 0" + kExit);
  // The send box's grammar: a lone digit ends the frame.
  EXPECT_EQ(RunCli({"parse", "frame.txt", "07 7 07"}).out, kStart + kNoGlobals + "0 0 7" + kExit);
}

TEST_F(ParseCommand, SaysWhyAScriptCannotBeLoaded) {
  ASSERT_EQ(::mkfifo(working_.File("fifo").c_str(), 0600), 0);
  const std::pair<std::string, std::string> cases[] = {
      {"missing.txt", "文件不存在"},
      {directory_.string(), "是文件夹"},
      {"fifo", "不是普通文件"},  // and it is never opened, so nothing blocks
      {Write("huge.txt", std::string(1048577, ' ')), "文件太大，最多1048576字节"},
  };
  for (const auto& [script, why] : cases) {
    const testing::CliRun run = RunCli({"parse", script, "05"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "载入解析器失败: 无法读取文件" + script + ": " + why + "\n");
  }
  // Exactly the largest size loads.
  Write("largest.txt", std::string(1048576, ' '));
  EXPECT_EQ(RunCli({"parse", "largest.txt"}).exitStatus, 0);
}

TEST_F(ParseCommand, RejectsBadArgumentsWithUsage) {
  const std::vector<std::vector<std::string>> bad = {{"parse"},
                                                     {"parse", "a", "b", "c"},
                                                     {"parse", "--timeout"},
                                                     {"parse", "--timeout", "0", "a"},
                                                     {"parse", "--timeout", "-1", "a"},
                                                     {"parse", "--timeout", "1s", "a"},
                                                     {"parse", "--timeout", "2"}};
  for (const std::vector<std::string>& args : bad) {
    const testing::CliRun run = RunCli(args);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "usage: portprobe-cli parse [--timeout SECONDS] SCRIPT [HEXTEXT]\n");
  }
}

TEST_F(ParseCommand, HelpDescribesTheHexGrammarAndTheExitStatuses) {
  EXPECT_EQ(RunCli({"--version"}).out, "portprobe-cli " PORTPROBE_VERSION "\n");
  const testing::CliRun run = RunCli({"--help"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "");
  for (const char* part : {"portprobe-cli parse [--timeout SECONDS] SCRIPT [HEXTEXT]", "\"12 3 45\" gives 12 alone",
                           "lone digit at the end is dropped", "~/.local/state/portprobe", "130"}) {
    EXPECT_NE(run.out.find(part), std::string::npos) << part;
  }
}

TEST_F(ParseCommand, ATimeLimitStopsAnEndlessScriptAfterWhatItPrinted) {
  Write("endless.txt", kEndless);
  const testing::CliRun run = RunCli({"parse", "--timeout", "0.3", "endless.txt"});
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_EQ(run.err, "解析器运行超时\n");
  EXPECT_TRUE(run.out.starts_with(kStart + kNoGlobals + "...")) << run.out.substr(0, 80);
  EXPECT_NE(run.out.find(",ret=800e0001,"), std::string::npos);
  EXPECT_TRUE(run.out.ends_with(kExit));

  Write("quick.txt", "void main()\r\n{\r\necho 'done'\r\n}\r\n");
  const testing::CliRun quick = RunCli({"parse", "--timeout", "30", "quick.txt"});
  EXPECT_EQ(quick.exitStatus, 0);
  EXPECT_EQ(quick.out, kStart + kNoGlobals + "done" + kExit);
}

int WaitedStatus(pid_t pid) {
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, 0), pid);
  return status;
}

// Starts parse over a script with stdout opened by `actions`.
pid_t SpawnParse(const std::string& script, posix_spawn_file_actions_t& actions) {
  std::string program = PORTPROBE_CLI_PATH, parse = "parse", path = script;
  char* argv[] = {program.data(), parse.data(), path.data(), nullptr};
  pid_t pid = -1;
  EXPECT_EQ(::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Ctrl-C, SIGTERM and SIGHUP each stop the run at its next line, with what it printed,
// its stop report and banner, and the shell's status for the signal.
TEST_F(ParseCommand, AStopSignalShowsWhatWasPrintedAndExitsWithTheSignalsStatus) {
  Write("endless.txt", kEndless);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // Output to a file, as a redirected run has it: it must be there as it is printed.
    const std::string out = working_.File("out.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const pid_t pid = SpawnParse(working_.File("endless.txt"), actions);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (testing::ReadFile(out).find("...") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Twice, as a tool that signals the command and then its process group does.
    ::kill(pid, signal);
    ::kill(pid, signal);
    const int status = WaitedStatus(pid);
    ASSERT_TRUE(WIFEXITED(status)) << signal;
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    const std::string printed = testing::ReadFile(out);
    EXPECT_TRUE(printed.starts_with(kStart + kNoGlobals + "...")) << printed.substr(0, 80);
    EXPECT_TRUE(printed.ends_with(kExit)) << signal;
  }
}

// A reader that has gone (| head) makes the output fail: status 1, not a kill.
TEST_F(ParseCommand, AClosedPipeGivesStatus1) {
  Write("quick.txt", "void main()\r\n{\r\necho 'done'\r\n}\r\n");
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  const pid_t pid = SpawnParse(working_.File("quick.txt"), actions);
  ::close(ends[1]);
  const int status = WaitedStatus(pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

// The line-end fixes of the language, seen from a script.
TEST_F(ParseCommand, BracketsThatEndALineWork) {
  // An initializer list, an element read, and a declaration, each at the line's end.
  EXPECT_EQ(Printed("void main()\n{\nint a[3] = {1,2,3}\nprint a[2]\nchar buf[8]\necho a[0] ' ' a[1]\n}\n"),
            "a[2]:3 1 2");
  // The one of the language's own examples: three elements stored, then the fourth fails.
  const std::string overflow = Printed("void main()\n{\nint a[3] = {1,2,3,4}\necho 'not reached'\n}\n");
  EXPECT_NE(overflow.find(",ret=800a02d9,"), std::string::npos) << overflow;
  EXPECT_EQ(overflow.find("not reached"), std::string::npos);
}

TEST_F(ParseCommand, EchoEvaluatesAQuotedIndexOnceMoreForItsOwnCheck) {
  // Every line echo b['x'] pools its index text four times (the check whether the
  // line is a declaration, the lookup, echo's own index check, the value); the element
  // read is out of range while the pool has room. With the pool's 1000 texts used up
  // the index reads as 0, and b[0] is printed.
  const std::string printed =
      Printed("void main()\n{\nchar b[2] = {7,9}\nint i\nwhile i < 400\n{\necho b['x'] ' '\ni = i + 1\n}\n}\n");
  const std::size_t firstSeven = printed.find("7 ");
  ASSERT_NE(firstSeven, std::string::npos) << printed.substr(0, 80);
  std::string outOfRange;
  for (int i = 0; i < 250; ++i) outOfRange += "-1 ";
  EXPECT_EQ(printed.substr(0, firstSeven), outOfRange);
}

}  // namespace
}  // namespace portprobe
