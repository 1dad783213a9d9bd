// The simulator's roles, seen from the terminal's side of its pseudo-terminal.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <thread>
#include <string>
#include <utility>
#include <vector>

#include "checksum/crc.h"
#include "common/byte_frame.h"
#include "support/cli_run.h"
#include "support/pty_pair.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::DeviceFd;
using testing::ReadBytes;
using testing::SimProcess;
using testing::WriteAll;

ByteFrame WithCrcLowFirst(ByteFrame frame, const Crc& crc = kCrc16Modbus) {
  const std::uint32_t value = crc.Compute(frame);
  frame.push_back(value & 0xFF);
  frame.push_back(value >> 8);
  return frame;
}

TEST(SimRoles, EchoReturnsEveryByteInOrder) {
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "echo"});
  const DeviceFd device(sim.DevicePath());
  const ByteFrame sent = testing::RandomBytes(20000, 7);
  WriteAll(device.get(), sent);
  EXPECT_EQ(ReadBytes(device.get(), sent.size()), sent);
}

TEST(SimRoles, ResponderAnswersEachFrameWithTheReplyAndItsCrcLowByteFirst) {
  // CRC-16/MODBUS by default, as a real device sends; --crc xmodem for the older reply.
  const std::pair<std::vector<std::string>, ByteFrame> cases[] = {
      {{"--role", "responder"}, {0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01, 0xF8, 0xB3}},
      {{"--crc", "modbus"}, {0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01, 0xF8, 0xB3}},
      {{"--role", "responder", "--crc", "xmodem"}, {0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01, 0x7D, 0xE1}},
  };
  for (const auto& [args, reply] : cases) {
    SimProcess sim(PORTPROBE_SIM_PATH, args);
    const DeviceFd device(sim.DevicePath());
    for (int frame = 0; frame < 3; ++frame) {
      WriteAll(device.get(), {0x0b, 0x03, 0x07, 0x00, 0x34, 0x12, 0x00, 0x00, 0x01, 0x01, 0x00});
      EXPECT_EQ(ReadBytes(device.get(), reply.size()), reply) << args.back() << ", frame " << frame;
    }
  }
}

TEST(SimRoles, ResponderSendsTheReplyGivenOnTheCommandLine) {
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "responder", "--reply", "7e 03 01 01 55"});
  const DeviceFd device(sim.DevicePath());
  WriteAll(device.get(), {0x01});
  EXPECT_EQ(ReadBytes(device.get(), 7), WithCrcLowFirst({0x7E, 0x03, 0x01, 0x01, 0x55}));
}

struct ArrivedFrame {
  ByteFrame bytes;
  std::chrono::steady_clock::time_point arrival;  // of its first byte
};

// Collects `count` frames of `size` bytes, each stamped with the time its first byte
// was read.
std::vector<ArrivedFrame> ReadFrames(int fd, std::size_t count, std::size_t size) {
  std::vector<ArrivedFrame> frames;
  while (frames.size() < count || frames.back().bytes.size() < size) {
    const ByteFrame chunk = ReadBytes(fd, 1);
    if (chunk.empty()) break;
    const auto now = std::chrono::steady_clock::now();
    if (frames.empty() || frames.back().bytes.size() == size) frames.push_back({{}, now});
    frames.back().bytes.push_back(chunk[0]);
  }
  return frames;
}

TEST(SimRoles, StreamSendsGroupsOfThreeFramesSeparatedByLongGaps) {
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "stream", "--crc", "xmodem"});
  const DeviceFd device(sim.DevicePath());
  const std::vector<ArrivedFrame> frames = ReadFrames(device.get(), 9, 5);
  ASSERT_EQ(frames.size(), 9u);
  // Short gaps (30 ms) keep a group within one block of the display, long ones
  // (500 ms) split the groups; the bounds leave room for a busy machine.
  constexpr auto kBetween = std::chrono::milliseconds(250);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].bytes, WithCrcLowFirst({0xAA, 0x55, static_cast<std::uint8_t>(i)}, kCrc16Xmodem))
        << "frame " << i;
    if (i == 0) continue;
    const auto gap = frames[i].arrival - frames[i - 1].arrival;
    if (i % 3 == 0) {
      EXPECT_GE(gap, kBetween) << "before frame " << i;
    } else {
      EXPECT_LT(gap, kBetween) << "before frame " << i;
    }
  }
}

TEST(SimRoles, FloodSendsAnUnbrokenCountingSequence) {
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "flood"});
  const DeviceFd device(sim.DevicePath());
  const ByteFrame received = ReadBytes(device.get(), 1 << 18);
  ASSERT_EQ(received.size(), 1u << 18);
  for (std::size_t i = 0; i < received.size(); ++i) {
    ASSERT_EQ(received[i], static_cast<std::uint8_t>(i)) << "byte " << i;
  }
}

// The rules role: what a user tries the panel and the rules window against.
// Three named series a line, at the rate asked for: a sine within ±1, a square of ±1
// and small noise.
TEST(SimRoles, WavePrintsThreeSeriesALineAtItsRate) {
  SimProcess sim(PORTPROBE_SIM_PATH, {"--role", "wave", "--rate", "200"});
  const testing::DeviceFd device(sim.DevicePath());
  const auto start = std::chrono::steady_clock::now();
  const ByteFrame first = ReadBytes(device.get(), 2000);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::string text(first.begin(), first.end());
  std::regex line("sine:(-?[01]\\.[0-9]{3}) square:(-?1) noise:(-?0\\.[0-9]{3})\n");
  const auto lines = std::distance(std::sregex_iterator(text.begin(), text.end(), line), std::sregex_iterator());
  EXPECT_GE(lines, static_cast<long>(text.size() / 40) - 1) << text;
  EXPECT_GT(seconds, (lines - 10) / 200.0);  // not faster than the rate
}

TEST(SimRules, AnswersTheExampleRequestsByTheExampleRules) {
  SimProcess sim(PORTPROBE_SIM_PATH, {"--rules", PORTPROBE_EXAMPLES_DIR "/modbus_rules.txt"});
  const DeviceFd device(sim.DevicePath());
  const std::pair<ByteFrame, ByteFrame> exchange[] = {
      {{0x01, 0x03, 0x00, 0x00, 0x00, 0x03}, {0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01}},
      {{0x01, 0x04, 0x00, 0x10, 0x00, 0x01}, {0x01, 0x04, 0x02, 0x01, 0x2C}},
      {{0x02, 0x03, 0x00, 0x00, 0x00, 0x01}, {0x02, 0x03, 0x02, 0x12, 0x34}},
  };
  for (int round = 0; round < 2; ++round) {
    for (const auto& [request, reply] : exchange) {
      const ByteFrame expected = WithCrcLowFirst(reply);
      WriteAll(device.get(), WithCrcLowFirst(request));
      EXPECT_EQ(ReadBytes(device.get(), expected.size()), expected) << "round " << round;
    }
  }
  // A request that no rule matches, and one that is too short for its rule, are not
  // answered; the next one is.
  WriteAll(device.get(), WithCrcLowFirst({0x03, 0x03, 0x00, 0x00, 0x00, 0x01}));
  EXPECT_EQ(ReadBytes(device.get(), 1, 300), ByteFrame{});
  WriteAll(device.get(), {0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05});
  EXPECT_EQ(ReadBytes(device.get(), 1, 300), ByteFrame{});
  WriteAll(device.get(), WithCrcLowFirst({0x02, 0x03, 0x00, 0x00, 0x00, 0x01}));
  EXPECT_EQ(ReadBytes(device.get(), 7), WithCrcLowFirst({0x02, 0x03, 0x02, 0x12, 0x34}));
  // A request with a bad CRC is dropped, as a real slave drops it.
  ByteFrame spoiled = WithCrcLowFirst({0x01, 0x04, 0x00, 0x10, 0x00, 0x01});
  spoiled.back() ^= 0x01;
  WriteAll(device.get(), spoiled);
  EXPECT_EQ(ReadBytes(device.get(), 1, 300), ByteFrame{});
}

// --gap sets the silence that ends a frame: two requests 15 ms apart are two frames at
// a 5 ms gap, and one at the default 20 ms.
TEST(SimRules, TheGapDecidesWhereARequestEnds) {
  const ByteFrame request = WithCrcLowFirst({0x01, 0x04, 0x00, 0x10, 0x00, 0x01});
  const ByteFrame reply = WithCrcLowFirst({0x01, 0x04, 0x02, 0x01, 0x2C});
  for (const auto& [gap, replies] : {std::pair{"5", 2u}, std::pair{"20", 0u}}) {
    SimProcess sim(PORTPROBE_SIM_PATH, {"--rules", PORTPROBE_EXAMPLES_DIR "/modbus_rules.txt", "--gap", gap});
    const DeviceFd device(sim.DevicePath());
    std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the simulator sees the open
    WriteAll(device.get(), request);
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    WriteAll(device.get(), request);
    EXPECT_EQ(ReadBytes(device.get(), 2 * reply.size(), 300).size(), replies * reply.size()) << "gap " << gap;
  }
  EXPECT_NE(testing::RunProgram(PORTPROBE_SIM_PATH, {"--gap", "0"}).err.find("--gap needs milliseconds"),
            std::string::npos);
}

// A request still unanswered when the terminal closes the device is dropped: the next
// program that opens it gets nothing it did not ask for.
TEST(SimRules, ARequestLeftWhenTheDeviceClosesIsNeverAnswered) {
  for (const char* role : {"--rules", "--role"}) {
    const std::vector<std::string> args =
        role == std::string("--rules")
            ? std::vector<std::string>{"--rules", PORTPROBE_EXAMPLES_DIR "/modbus_rules.txt", "--gap", "200", "--stay"}
            : std::vector<std::string>{"--role", "responder", "--gap", "200", "--stay"};
    // Sent before the simulator saw the open, and once it had seen it.
    for (const int seen : {0, 150}) {
      SimProcess sim(PORTPROBE_SIM_PATH, args);
      {
        const DeviceFd device(sim.DevicePath());
        std::this_thread::sleep_for(std::chrono::milliseconds(seen));
        WriteAll(device.get(), WithCrcLowFirst({0x01, 0x04, 0x00, 0x10, 0x00, 0x01}));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      const DeviceFd next(sim.DevicePath());
      EXPECT_EQ(ReadBytes(next.get(), 1, 500), ByteFrame{}) << role << " after " << seen << " ms";
    }
  }
}

TEST(SimRules, ABadRulesFileIsRefusedWithItsLineNumbers) {
  const testing::TempDir dir;
  const std::string bad = dir.WriteFile("bad.txt", "# fine\n01 03 -> 01 02\n01 0G -> 01\n02 -> 03 +crc99\n");
  testing::CliRun run = testing::RunProgram(PORTPROBE_SIM_PATH, {"--rules", bad});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(bad + ":3: "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(bad + ":4: "), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(":2: "), std::string::npos) << run.err;

  // Text of the file reaches the terminal escaped, and a file of nothing but mistakes
  // is told in 20 lines and a count.
  std::string hostile = "02 -> 03 +c\x1b]2;PWNED\x07\n";
  for (int i = 0; i < 30; ++i) hostile += "\x9b" + std::to_string(i) + "\n";
  run = testing::RunProgram(PORTPROBE_SIM_PATH, {"--rules", dir.WriteFile("hostile.txt", hostile)});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(run.err.find("c\\x1B]2;PWNED\\x07"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find_first_of("\x1b\x07\x9b"), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 21) << run.err;
  EXPECT_TRUE(run.err.ends_with("portprobe-sim: …还有11行错误\n")) << run.err;

  run = testing::RunProgram(PORTPROBE_SIM_PATH, {"--rules", dir.File("missing.txt")});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(run.err.find("missing.txt"), std::string::npos) << run.err;
  const std::string good = dir.WriteFile("good.txt", "01 -> 02\n");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--rules", good, "--role", "echo"}, {"--role", "rules"}, {"--rules"}, {"--rules", ""}}) {
    run = testing::RunProgram(PORTPROBE_SIM_PATH, args);
    EXPECT_EQ(run.exitStatus, 2) << args[0];
    EXPECT_TRUE(run.err.starts_with("portprobe-sim: ")) << run.err;
  }
}

}  // namespace
}  // namespace portprobe
