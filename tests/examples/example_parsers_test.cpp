// The example parser scripts decode the simulator's replies, taken off its device and
// run as the tools menu runs a parser over the hex text selected in the receive box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/hex_format.h"
#include "common/byte_frame.h"
#include "support/cli_run.h"
#include "support/pty_pair.h"
#include "support/scoped_environment.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::CliRun;

struct ExampleCase {
  std::string script;
  std::vector<std::string> simArgs;
  std::size_t replySize;
  std::string decoded;
};

const ExampleCase kCases[] = {
    {"modbus_rtu.txt",
     {"--role", "responder"},
     11,
     "Modbus-RTU reply: device 1, function 3, 6 data bytes\r\n"
     "  register 0: 234\r\n  register 1: 400\r\n  register 2: 1\r\n"
     "crc:0xb3f8 CRC-16/MODBUS OK\r\n"},
    {"tlv.txt",
     {"--role", "responder", "--crc", "xmodem", "--reply", "7E 0E 01 02 00 EA 02 01 05 03 05 50 52 4F 42 45"},
     18,
     "TLV frame, 14 bytes of records\r\n"
     "  tag 1, length 2: 00 EA = 234\r\n  tag 2, length 1: 05 = 5\r\n"
     "  tag 3, length 5: 50 52 4F 42 45 = text PROBE\r\n"
     "crc:0x741f CRC-16/XMODEM OK\r\n"},
};

std::string ReplyAsHexText(const ExampleCase& example) {
  testing::SimProcess sim(PORTPROBE_SIM_PATH, example.simArgs);
  const testing::DeviceFd device(sim.DevicePath());
  testing::WriteAll(device.get(), {0x01, 0x03, 0x00, 0x00, 0x00, 0x03});
  const ByteFrame reply = testing::ReadBytes(device.get(), example.replySize);
  EXPECT_EQ(reply.size(), example.replySize);
  return FormatHexBytes(reply);
}

TEST(ExampleParsers, DecodeTheSimulatorsReplies) {
  for (const ExampleCase& example : kCases) {
    const std::string script = std::string(PORTPROBE_EXAMPLES_DIR) + "/" + example.script;
    const testing::TempDir traces;  // a run writes its trace files to the state folder
    const testing::ScopedEnvironment stateHome("XDG_STATE_HOME", traces.Path().string());
    const CliRun run = testing::RunProgram(PORTPROBE_CLI_PATH, {"parse", script, ReplyAsHexText(example)});
    EXPECT_EQ(run.exitStatus, 0) << example.script;
    EXPECT_NE(run.out.find(example.decoded), std::string::npos) << example.script << ":\n" << run.out;
    EXPECT_EQ(run.out.find("<Parser Error"), std::string::npos) << example.script << ":\n" << run.out;
    EXPECT_NE(run.out.find("unfreeptr=0-"), std::string::npos) << example.script << ":\n" << run.out;
  }
}

}  // namespace
}  // namespace portprobe
