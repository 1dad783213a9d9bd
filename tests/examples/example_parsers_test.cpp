// The example parser scripts decode the simulator's replies, taken off its device and
// run as the tools menu runs a parser over the hex text selected in the receive box.
#include <gtest/gtest.h>

#include <string>
#include <utility>
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
    {"modbus_plot.txt", {"--role", "responder"}, 11, "register0=234\r\nregister1=400\r\nregister2=1\r\n"},
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

// Replies as a real Modbus slave sends them to writes, and an exception.
TEST(ExampleParsers, TheModbusParserReadsWriteRepliesAndExceptions) {
  const testing::TempDir traces;
  const testing::ScopedEnvironment stateHome("XDG_STATE_HOME", traces.Path().string());
  const std::pair<std::string, std::string> cases[] = {
      {"01 05 00 03 FF 00 7C 3A", "device 1, function 5: coil 3 set to ON\r\ncrc:0x3a7c CRC-16/MODBUS OK"},
      {"01 06 00 05 00 2A 18 14", "device 1, function 6: register 5 set to 42\r\ncrc:0x1418 CRC-16/MODBUS OK"},
      {"01 0F 00 13 00 0A 24 09", "device 1, function 15: 10 coils written from 19\r\ncrc:0x924 CRC-16/MODBUS OK"},
      {"01 10 00 01 00 02 10 08", "device 1, function 16: 2 registers written from 1\r\ncrc:0x810 CRC-16/MODBUS OK"},
      {"01 83 02 C0 F1", "device 1, exception 2 to function 3\r\ncrc:0xf1c0 CRC-16/MODBUS OK"},
      {"01 06 00 05 00 2A 18 15", "register 5 set to 42\r\ngot:0x1518 received, but crc:0x1418 computed"},
  };
  for (const auto& [frame, decoded] : cases) {
    const CliRun run =
        testing::RunProgram(PORTPROBE_CLI_PATH, {"parse", PORTPROBE_EXAMPLES_DIR "/modbus_rtu.txt", frame});
    EXPECT_NE(run.out.find("Modbus-RTU reply: "), std::string::npos) << frame;
    EXPECT_NE(run.out.find(decoded), std::string::npos) << frame << ":\n" << run.out;
  }
}

}  // namespace
}  // namespace portprobe
