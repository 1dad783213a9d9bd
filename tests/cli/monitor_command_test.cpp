// portprobe-cli monitor as a real process on a pseudo-terminal; the test plays the
// device on the master side.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "serial/receive_timestamps.h"
#include "support/background_program.h"
#include "support/cli_run.h"
#include "support/pty_pair.h"
#include "support/ser2net_server.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kReadHolding = {0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB};
const Bytes kHoldingReply = {0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01, 0xF8, 0xB3};
const std::string kRules =
    "# the example exchange\n"
    "01 03 00 00 00 03 ?? ?? -> 01 03 06 00 EA 01 90 00 01 +crc16-modbus\n"
    "02 03 ?? ?? ?? ?? ?? ?? -> 02 03 02 12 34 +crc16-modbus\n";

// A line that the monitor printed: its time and what follows it.
struct PrintedLine {
  std::string time;
  std::string rest;
};

std::optional<PrintedLine> SplitTime(const std::optional<std::string>& line) {
  static const std::regex kTimed("([0-2][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9]{3}) (.*)");
  std::smatch match;
  if (!line || !std::regex_match(*line, match, kTimed)) return std::nullopt;
  return PrintedLine{match[1], match[2]};
}

// What a process has read so far from all its descriptors.
std::uint64_t BytesRead(pid_t pid) {
  std::ifstream io("/proc/" + std::to_string(pid) + "/io");
  std::string key;
  std::uint64_t count = 0;
  while (io >> key >> count) {
    if (key == "rchar:") return count;
  }
  return 0;
}

class MonitorCommand : public ::testing::Test {
 protected:
  // Starts the monitor on the pseudo-terminal; it listens once it has said so.
  testing::BackgroundProgram& Start(std::vector<std::string> args) { return StartOn(pty_.SlavePath(), args); }
  testing::BackgroundProgram& StartOn(const std::string& port, std::vector<std::string> args) {
    args.insert(args.begin(), {"monitor", "--port", port});
    monitor_.emplace(PORTPROBE_CLI_PATH, args);
    const std::optional<std::string> opened = monitor_->ErrLine();
    EXPECT_EQ(opened, "portprobe-cli monitor: " + port + " OPENED,9600,N,8,1 (Ctrl-C ends)");
    return *monitor_;
  }
  // The rest of the next line of stdout after its time, which must be well-formed.
  std::string NextLine() {
    const std::optional<std::string> line = monitor_->OutLine();
    const std::optional<PrintedLine> printed = SplitTime(line);
    EXPECT_TRUE(printed) << line.value_or("(no line)");
    return printed ? printed->rest : "";
  }
  // Writes bytes and waits until the monitor has read them: the only bytes it reads
  // meanwhile are these and 8 from its eventfd after it read them.
  void WriteAndWaitForTheRead(const Bytes& bytes) {
    const std::uint64_t before = BytesRead(monitor_->Pid());
    pty_.Write(bytes);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (BytesRead(monitor_->Pid()) < before + bytes.size() + 8 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // Ends the monitor as `signal` does and returns its summary.
  std::string Stop(int signal) {
    monitor_->Signal(signal);
    const std::optional<std::string> summary = monitor_->ErrLine();
    EXPECT_EQ(monitor_->WaitForExit(), 0);
    return summary.value_or("(no summary)");
  }

  testing::PtyPair pty_;
  testing::TempDir files_;
  std::optional<testing::BackgroundProgram> monitor_;
};

TEST_F(MonitorCommand, PausesSplitBlocksThatArePrintedOneALineWithTheirLocalTime) {
  testing::BackgroundProgram& monitor = Start({"--gap=1000"});
  const std::string before = ClockText(std::chrono::system_clock::now());
  // Bytes written together stay one block; the pause after them ends it.
  pty_.Write(Bytes{0x01, 0x02});
  pty_.Write(Bytes{0xAB});
  const std::optional<PrintedLine> first = SplitTime(monitor.OutLine());
  const std::string after = ClockText(std::chrono::system_clock::now());
  ASSERT_TRUE(first);
  EXPECT_EQ(first->rest, "01 02 AB");
  if (before <= after) {  // not across midnight
    EXPECT_LE(before, first->time);
    EXPECT_LE(first->time, after);
  }
  pty_.Write(Bytes(20, 0x5A));
  EXPECT_EQ(NextLine(), "5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A");
  // The block under way is shown before the monitor ends, though its gap never passed.
  WriteAndWaitForTheRead(Bytes{0x01, 0x03});
  EXPECT_EQ(Stop(SIGTERM), "portprobe-cli monitor: stopped; 3 blocks, 25 bytes received, 0 replies, 0 bytes sent");
  EXPECT_EQ(NextLine(), "01 03");
  EXPECT_EQ(monitor.OutLine(), std::nullopt);
}

TEST_F(MonitorCommand, TextShowsEachBlockQuotedOnOneLineAndCtrlCEndsTheMonitor) {
  testing::BackgroundProgram& monitor = Start({"--text", "--gap", "200"});
  pty_.Write(std::string("AT+GMR\r\nOK \"\xE4\xB8\xAD\" \x01\xFF\\"));
  EXPECT_EQ(NextLine(), "\"AT+GMR\\r\\nOK \\\"\xE4\xB8\xAD\\\" \\x01\\xFF\\\\\"");
  EXPECT_EQ(Stop(SIGINT), "portprobe-cli monitor: stopped; 1 blocks, 20 bytes received, 0 replies, 0 bytes sent");
  EXPECT_EQ(monitor.OutLine(), std::nullopt);
}

TEST_F(MonitorCommand, RulesAnswerAModbusRequestAndAHangUpEndsTheMonitor) {
  testing::BackgroundProgram& monitor = Start({"--rules", files_.WriteFile("rules.txt", kRules)});
  pty_.Write(kReadHolding);
  EXPECT_EQ(pty_.Read(kHoldingReply.size()), kHoldingReply);
  EXPECT_EQ(NextLine(), "01 03 00 00 00 03 05 CB");
  EXPECT_EQ(NextLine(), "TX 01 03 06 00 EA 01 90 00 01 F8 B3");
  // A block that no rule matches is only shown.
  pty_.Write(Bytes{0x03, 0x03, 0x00});
  EXPECT_EQ(NextLine(), "03 03 00");
  pty_.Write(Bytes{0x02, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x39});
  EXPECT_EQ(pty_.Read(7), (Bytes{0x02, 0x03, 0x02, 0x12, 0x34, 0xF1, 0x33}));
  EXPECT_EQ(NextLine(), "02 03 00 00 00 01 84 39");
  EXPECT_EQ(NextLine(), "TX 02 03 02 12 34 F1 33");

  pty_.CloseMaster();
  EXPECT_EQ(monitor.ErrLine(),
            "portprobe-cli monitor: the port hung up; 3 blocks, 19 bytes received, 2 replies, 18 bytes sent");
  EXPECT_EQ(monitor.WaitForExit(), 0);
}

// The same over the network, through ser2net; the server's end ends the monitor.
TEST_F(MonitorCommand, RulesAnswerOverAnRfc2217Port) {
  testing::Ser2netServer server(pty_.SlavePath());
  testing::BackgroundProgram& monitor = StartOn(server.Url(), {"--rules", files_.WriteFile("rules.txt", kRules)});
  pty_.Write(kReadHolding);
  EXPECT_EQ(pty_.Read(kHoldingReply.size()), kHoldingReply);
  EXPECT_EQ(NextLine(), "01 03 00 00 00 03 05 CB");
  EXPECT_EQ(NextLine(), "TX 01 03 06 00 EA 01 90 00 01 F8 B3");

  server.Stop();
  std::optional<std::string> line;
  do {
    line = monitor.ErrLine();  // perhaps first that the server sets no RTS/DTR on a pseudo-terminal
  } while (line == "portprobe-cli monitor: the server does not set RTS/DTR");
  EXPECT_EQ(line, "portprobe-cli monitor: the port hung up; 1 blocks, 8 bytes received, 1 replies, 11 bytes sent");
  EXPECT_EQ(monitor.WaitForExit(), 0);
}

TEST_F(MonitorCommand, TheParserDecodesEachBlockAfterItsLines) {
  testing::BackgroundProgram& monitor = Start({"--parser=" PORTPROBE_EXAMPLES_DIR "/modbus_rtu.txt"});
  pty_.Write(kHoldingReply);
  EXPECT_EQ(NextLine(), "01 03 06 00 EA 01 90 00 01 F8 B3");
  for (const char* decoded : {"Modbus-RTU reply: device 1, function 3, 6 data bytes", "  register 0: 234",
                              "  register 1: 400", "  register 2: 1", "crc:0xb3f8 CRC-16/MODBUS OK"}) {
    EXPECT_EQ(monitor.OutLine(), decoded);
  }
  // The next block is decoded afresh.
  pty_.Write(Bytes{0x02, 0x03, 0x02, 0x12, 0x34, 0xF1, 0x33});
  EXPECT_EQ(NextLine(), "02 03 02 12 34 F1 33");
  EXPECT_EQ(monitor.OutLine(), "Modbus-RTU reply: device 2, function 3, 2 data bytes");
  Stop(SIGTERM);
}

// The numbers of the received lines, or with a parser those of its output, logged as
// the waveform view exports them.
TEST_F(MonitorCommand, CsvLogsTheNumbersOfTheLinesOrOfTheDecodedOutput) {
  const std::string lines = files_.File("lines.csv");
  Start({"--text", "--csv", lines});
  WriteAndWaitForTheRead(Bytes{'1', '.', '5', ',', '2', '\r', '\n', 'o', 'k', '\n', 't', ':', '3', '\n', '9'});
  Stop(SIGINT);
  const std::string log = testing::ReadFile(lines);
  EXPECT_TRUE(std::regex_match(log, std::regex("time_s,1,2\n0\\.000000,1\\.5,2\n"
                                               "time_s,1,2,t\n[0-9]+\\.[0-9]{6},,,3\n")))
      << log;

  const std::string registers = files_.File("registers.csv");
  Start({"--parser=" PORTPROBE_EXAMPLES_DIR "/modbus_plot.txt", "--csv=" + registers});
  pty_.Write(kHoldingReply);
  EXPECT_EQ(NextLine(), "01 03 06 00 EA 01 90 00 01 F8 B3");
  EXPECT_EQ(monitor_->OutLine(), "register0=234");
  Stop(SIGTERM);
  EXPECT_EQ(testing::ReadFile(registers), "time_s,register0,register1,register2\n0.000000,234,400,1\n");

  const testing::CliRun unwritable =
      testing::RunProgram(PORTPROBE_CLI_PATH, {"monitor", "--port", pty_.SlavePath(), "--csv", files_.File("no/x.csv")});
  EXPECT_EQ(unwritable.exitStatus, 2);
  EXPECT_NE(unwritable.err.find("cannot write " + files_.File("no/x.csv") + ": "), std::string::npos) << unwritable.err;
}

TEST_F(MonitorCommand, EchoSendsBackWhatNoRuleAnswers) {
  Start({"--echo", "--rules", files_.WriteFile("rules.txt", kRules)});
  const Bytes frame = {0x10, 0x20, 0x30};
  pty_.Write(frame);
  EXPECT_EQ(pty_.Read(frame.size()), frame);
  EXPECT_EQ(NextLine(), "10 20 30");
  EXPECT_EQ(NextLine(), "TX 10 20 30");
  pty_.Write(kReadHolding);
  EXPECT_EQ(pty_.Read(kHoldingReply.size()), kHoldingReply);
  EXPECT_EQ(NextLine(), "01 03 00 00 00 03 05 CB");
  EXPECT_EQ(NextLine(), "TX 01 03 06 00 EA 01 90 00 01 F8 B3");
  EXPECT_EQ(Stop(SIGTERM), "portprobe-cli monitor: stopped; 2 blocks, 11 bytes received, 2 replies, 14 bytes sent");
}

TEST_F(MonitorCommand, OutputThatCannotBeWrittenEndsTheMonitorWithStatus1) {
  testing::BackgroundProgram& monitor = Start({});
  monitor.CloseOut();
  pty_.Write(kReadHolding);
  EXPECT_EQ(monitor.ErrLine(),
            "portprobe-cli monitor: the output could not be written; 1 blocks, 8 bytes received, "
            "0 replies, 0 bytes sent");
  EXPECT_EQ(monitor.WaitForExit(), 1);
}

// A paused pager: stdout is a pipe that nobody reads, filled by a block's line that is
// longer than the pipe holds.
TEST_F(MonitorCommand, SigtermEndsTheMonitorWhileStdoutTakesNothing) {
  testing::BackgroundProgram& monitor = Start({"--gap", "1"});
  WriteAndWaitForTheRead(Bytes(30000, 0x5A));
  monitor.Signal(SIGTERM);
  const std::optional<std::string> summary = monitor.ErrLine();
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->rfind("portprobe-cli monitor: stopped; ", 0), 0u) << *summary;
  EXPECT_NE(summary->find(" 30000 bytes received"), std::string::npos) << *summary;
  EXPECT_EQ(monitor.WaitForExit(), 0);
}

// The device reads nothing while more echoes come than the port's write queue holds:
// each echo goes out whole or not at all, and the TX lines show exactly what went out.
TEST_F(MonitorCommand, RepliesThatAFullWriteQueueCannotTakeWholeAreNotSent) {
  constexpr int kBlocks = 24;
  constexpr std::size_t kBlockBytes = 64 * 1024;
  testing::BackgroundProgram& monitor = Start({"--echo", "--gap", "20"});
  std::vector<std::string> lines;
  std::thread reader([&] {
    while (std::optional<std::string> line = monitor.OutLine()) lines.push_back(std::move(*line));
  });
  for (int block = 0; block < kBlocks; ++block) {
    pty_.Write(Bytes(kBlockBytes, static_cast<std::uint8_t>(block + 1)));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(monitor.ErrLine(),
            "portprobe-cli monitor: the port takes no more (its write queue is full); replies that do not fit are "
            "not sent");
  const Bytes sent = pty_.Read(kBlocks * kBlockBytes, 1000);
  Stop(SIGTERM);
  reader.join();

  Bytes shownAsSent;
  std::size_t blockLines = 0;
  for (const std::string& line : lines) {
    // Only the start goes through the pattern, which recurses once a character.
    ASSERT_TRUE(SplitTime(line.substr(0, 16))) << line.substr(0, 40);
    const std::string rest = line.substr(13);
    if (rest.rfind("TX ", 0) != 0) {
      ++blockLines;
      continue;
    }
    std::istringstream pairs(rest.substr(3));
    unsigned byte = 0;
    while (pairs >> std::hex >> byte) shownAsSent.push_back(static_cast<std::uint8_t>(byte));
  }
  EXPECT_GE(blockLines, static_cast<std::size_t>(kBlocks));
  EXPECT_LT(shownAsSent.size(), kBlocks * kBlockBytes);
  EXPECT_TRUE(sent == shownAsSent) << sent.size() << " bytes sent, " << shownAsSent.size() << " shown";
}

// A device that reads nothing: only the echoes that went out get TX lines and count as
// replies; the rest are counted apart as dropped when the monitor ends.
TEST_F(MonitorCommand, OnlyWhatThePortWroteIsShownAndCountedAsSent) {
  constexpr int kBlocks = 40;
  testing::BackgroundProgram& monitor = Start({"--echo", "--gap", "20"});
  std::vector<std::string> lines;
  std::thread reader([&] {
    while (std::optional<std::string> line = monitor.OutLine()) lines.push_back(std::move(*line));
  });
  for (int block = 0; block < kBlocks; ++block) {
    WriteAndWaitForTheRead(Bytes(1024, static_cast<std::uint8_t>(block)));
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  const std::string summary = Stop(SIGINT);
  reader.join();
  const auto txLines =
      std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.find(" TX ") == 12; });
  unsigned long long replies = 0, sent = 0, dropped = 0, droppedBytes = 0;
  ASSERT_EQ(std::sscanf(summary.c_str(),
                        "portprobe-cli monitor: stopped; 40 blocks, 40960 bytes received, %llu replies, %llu bytes "
                        "sent; %llu replies (%llu bytes) dropped unsent",
                        &replies, &sent, &dropped, &droppedBytes),
            4)
      << summary;
  EXPECT_EQ(replies, static_cast<unsigned long long>(txLines));
  EXPECT_LT(replies, static_cast<unsigned long long>(kBlocks));
  EXPECT_EQ(replies + dropped, static_cast<unsigned long long>(kBlocks));
  EXPECT_EQ(sent + droppedBytes, 40960u);
}

// A port, rules and a parser named relative to the working directory, as shell tools
// take them: a link there is no name of the port list.
TEST_F(MonitorCommand, RelativePathsAreTakenFromTheWorkingDirectory) {
  std::filesystem::create_symlink(pty_.SlavePath(), files_.Path() / "ttyB");
  files_.WriteFile("rules.txt", kRules);
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(files_.Path());
  monitor_.emplace(PORTPROBE_CLI_PATH, std::vector<std::string>{"monitor", "--port", "ttyB", "--rules", "rules.txt"});
  std::filesystem::current_path(before);
  EXPECT_EQ(monitor_->ErrLine(), "portprobe-cli monitor: ttyB OPENED,9600,N,8,1 (Ctrl-C ends)");
  Stop(SIGINT);
}

TEST_F(MonitorCommand, BadArgumentsAPortThatCannotOpenAndBadRulesGiveExitStatus2) {
  const std::string rules = files_.WriteFile("rules.txt", kRules);
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"--baud", "9600"},
                                             {"--port"},
                                             {"--port", pty_.SlavePath(), "--baud", "fast"},
                                             {"--port", pty_.SlavePath(), "--parity=Odd"},
                                             {"--port", pty_.SlavePath(), "--data-bits", "9"},
                                             {"--port", pty_.SlavePath(), "--stop-bits", "3"},
                                             {"--port", pty_.SlavePath(), "--gap", "0"},
                                             {"--port", pty_.SlavePath(), "--gap=10001"},
                                             {"--port", pty_.SlavePath(), "--gap", "1e3"},
                                             {"--port", pty_.SlavePath(), "--text=yes"},
                                             {"--port", pty_.SlavePath(), "--rules"},
                                             {"--port", pty_.SlavePath(), "--speed", "9600"},
                                             {"--port", pty_.SlavePath(), pty_.SlavePath()}}) {
    std::vector<std::string> command = {"monitor"};
    command.insert(command.end(), args.begin(), args.end());
    const testing::CliRun run = testing::RunProgram(PORTPROBE_CLI_PATH, command);
    EXPECT_EQ(run.exitStatus, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: portprobe-cli monitor --port PATH"), std::string::npos) << run.err;
  }
  EXPECT_NE(testing::RunProgram(PORTPROBE_CLI_PATH, {"monitor", "--port", pty_.SlavePath(), "--parity", "Odd"})
                .err.find("bad value \"Odd\" for --parity"),
            std::string::npos);

  const testing::CliRun missing =
      testing::RunProgram(PORTPROBE_CLI_PATH, {"monitor", "--port", files_.File("ttyGone"), "--rules", rules});
  EXPECT_EQ(missing.exitStatus, 2);
  EXPECT_NE(missing.err.find(files_.File("ttyGone") + ": cannot open it"), std::string::npos) << missing.err;

  for (const std::string& notPort : {rules, files_.Path().string(), std::string("/dev/null")}) {
    const testing::CliRun notSerial = testing::RunProgram(PORTPROBE_CLI_PATH, {"monitor", "--port", notPort});
    EXPECT_EQ(notSerial.exitStatus, 2);
    EXPECT_EQ(notSerial.err, "portprobe-cli monitor: " + notPort + ": it is no serial port\n");
  }

  // Every mistake of a rules file is named with its line, and nothing is opened.
  const std::string badRules =
      files_.WriteFile("bad.txt", "01 03 -> 01 83 02\n# fine\n01 0G -> 00\n\n01 02 ->\n02 ?? -> 02 00 +crc\x1b[2J\n");
  const testing::CliRun bad =
      testing::RunProgram(PORTPROBE_CLI_PATH, {"monitor", "--port", pty_.SlavePath(), "--rules", badRules});
  EXPECT_EQ(bad.exitStatus, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err.find(badRules + ":3: "), 0u) << bad.err;
  EXPECT_NE(bad.err.find("\n" + badRules + ":5: "), std::string::npos) << bad.err;
  EXPECT_EQ(bad.err.find(":1: "), std::string::npos) << bad.err;
  EXPECT_NE(bad.err.find(":6: "), std::string::npos) << bad.err;
  EXPECT_EQ(bad.err.find('\x1b'), std::string::npos) << bad.err;
  EXPECT_EQ(bad.err.find("OPENED"), std::string::npos) << bad.err;

  const testing::CliRun noParser = testing::RunProgram(
      PORTPROBE_CLI_PATH, {"monitor", "--port", pty_.SlavePath(), "--parser", files_.File("missing.txt")});
  EXPECT_EQ(noParser.exitStatus, 2);
  EXPECT_NE(noParser.err.find("载入解析器失败"), std::string::npos) << noParser.err;

  // A folder given for either file is named as one.
  const std::string folder = files_.Path().string();
  for (const std::string option : {"--parser", "--rules"}) {
    const testing::CliRun run =
        testing::RunProgram(PORTPROBE_CLI_PATH, {"monitor", "--port", pty_.SlavePath(), option, folder});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(run.err.ends_with("无法读取文件" + folder + ": 是文件夹\n")) << run.err;
  }
}

}  // namespace
}  // namespace portprobe
