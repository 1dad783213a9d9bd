// The simulator answering by a rules file, as a user tries the terminal's panel and rules.
#include <gtest/gtest.h>

#include <string>
#include <thread>
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

ByteFrame WithModbusCrc(ByteFrame frame) {
  const std::uint32_t value = kCrc16Modbus.Compute(frame);
  frame.push_back(value & 0xFF);
  frame.push_back(value >> 8);
  return frame;
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
      const ByteFrame expected = WithModbusCrc(reply);
      WriteAll(device.get(), WithModbusCrc(request));
      EXPECT_EQ(ReadBytes(device.get(), expected.size()), expected) << "round " << round;
    }
  }
  // A request that no rule matches, and one that is too short for its rule, are not
  // answered; the next one is.
  WriteAll(device.get(), WithModbusCrc({0x03, 0x03, 0x00, 0x00, 0x00, 0x01}));
  EXPECT_EQ(ReadBytes(device.get(), 1, 300), ByteFrame{});
  WriteAll(device.get(), {0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05});
  EXPECT_EQ(ReadBytes(device.get(), 1, 300), ByteFrame{});
  // Bytes that come within the frame gap belong to one frame.
  const ByteFrame request = WithModbusCrc({0x02, 0x03, 0x00, 0x00, 0x00, 0x01});
  WriteAll(device.get(), ByteFrame(request.begin(), request.begin() + 3));
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  WriteAll(device.get(), ByteFrame(request.begin() + 3, request.end()));
  EXPECT_EQ(ReadBytes(device.get(), 7), WithModbusCrc({0x02, 0x03, 0x02, 0x12, 0x34}));
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
