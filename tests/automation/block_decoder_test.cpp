// The block decoder over blocks as the window hands them on: the example Modbus parser,
// a script that errs and one that never ends, each followed by a block that decodes.
#include "automation/block_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "codec/hex_codec.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

const std::string kModbusReply = "01 03 06 00 EA 01 90 00 01 F8 B3";
const std::string kModbusDecoded =
    "Modbus-RTU reply: device 1, function 3, 6 data bytes\r\n"
    "  register 0: 234\r\n  register 1: 400\r\n  register 2: 1\r\n"
    "crc:0xb3f8 CRC-16/MODBUS OK\r\n";

// Prints the first byte, and errs on an unknown word when it is 0xEE.
const std::string kErringScript =
    "int a\r\nvoid main()\r\n{\r\nset a 0 1\r\necho \"a=\" a \"\\r\\n\"\r\nif a == 0xEE\r\nnosuch a\r\n}\r\n";
// Never ends when the first byte is 0xEE; prints it otherwise.
const std::string kEndlessScript =
    "int a\r\nvoid main()\r\n{\r\nset a 0 1\r\nwhile a == 0xEE\r\n{\r\n}\r\necho \"a=\" a \"\\r\\n\"\r\n}\r\n";

std::string Decode(BlockDecoder& decoder, const std::string& hex) { return decoder.Decode(ParseHexText(hex)); }

TEST(BlockDecoder, TheExampleParserDecodesTheSimulatorsReplyWithoutBanners) {
  BlockDecoder decoder(testing::ReadFile(std::string(PORTPROBE_EXAMPLES_DIR) + "/modbus_rtu.txt"));
  EXPECT_EQ(Decode(decoder, kModbusReply), kModbusDecoded);
  // Every block afresh: the globals of one block do not leak into the next.
  EXPECT_EQ(Decode(decoder, kModbusReply), kModbusDecoded);
  const std::string badCrc = Decode(decoder, "01 03 06 00 EA 01 90 00 01 F8 B4");
  EXPECT_TRUE(badCrc.ends_with("computed: CRC-16/MODBUS wrong\r\n")) << badCrc;
  EXPECT_EQ(badCrc.find("gi_globalVarCnt"), std::string::npos);
  EXPECT_EQ(badCrc.find("Parser"), std::string::npos);
}

TEST(BlockDecoder, AScriptThatErrsReportsItAndTheNextBlockDecodes) {
  BlockDecoder decoder(kErringScript);
  const std::string erred = Decode(decoder, "EE 01");
  EXPECT_TRUE(erred.starts_with("a=238\r\n<Parser Error: ")) << erred;
  EXPECT_NE(erred.find("SrcLine=7,"), std::string::npos) << erred;
  EXPECT_EQ(erred.find("Exit Parser"), std::string::npos) << erred;
  EXPECT_EQ(Decode(decoder, "05"), "a=5\r\n");
  EXPECT_TRUE(Decode(decoder, "EE").starts_with("a=238\r\n<Parser Error: "));
}

TEST(BlockDecoder, AnEndlessScriptIsStoppedAtTheStepLimitAndSaidSoOnce) {
  BlockDecoder decoder(kEndlessScript);
  const std::string stopped = Decode(decoder, "EE");
  EXPECT_EQ(stopped, "<实时解析：本帧执行超过200000行，已停止；以后超限的帧不再提示>\r\n");
  EXPECT_EQ(Decode(decoder, "07"), "a=7\r\n");
  EXPECT_EQ(Decode(decoder, "EE"), "");
  EXPECT_EQ(Decode(decoder, "08 09"), "a=8\r\n");
}

}  // namespace
}  // namespace portprobe
