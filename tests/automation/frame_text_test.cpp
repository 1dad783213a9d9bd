// Frames as rules and panel files write them.
#include "automation/frame_text.h"

#include <gtest/gtest.h>

#include <string>

namespace portprobe {
namespace {

using namespace std::string_literals;

ByteFrame Bytes(const std::string& text) { return ByteFrame(text.begin(), text.end()); }

// The frame parsed, or nothing when it does not parse; printable by the test.
ByteFrame Frame(std::string_view text) {
  const Expected<ByteFrame> frame = ParseFrameText(text);
  EXPECT_TRUE(frame) << text << ": " << frame.Reason();
  return frame ? *frame : ByteFrame{};
}

TEST(FrameText, StrictHexTakesOnlyPairsOfDigits) {
  EXPECT_EQ(ParseStrictHex(" 01 0a\tFF \r\n"), (ByteFrame{0x01, 0x0A, 0xFF}));
  EXPECT_EQ(ParseStrictHex(""), ByteFrame{});
  // What the send box would forgive is a mistake in a file.
  for (const char* bad : {"1", "012", "0x01", "01 G1", "01,02", "??"}) {
    const Expected<ByteFrame> parsed = ParseStrictHex(bad);
    EXPECT_FALSE(parsed) << bad;
    EXPECT_NE(parsed.Reason().find("不是十六进制字节"), std::string::npos) << bad;
  }
}

TEST(FrameText, EscapesGoBothWays) {
  EXPECT_EQ(UnescapeText(R"(AT\r\n\t\0\\\"\x7e\xFF)"), Bytes("AT\r\n\t\0\\\"~\xFF"s));
  for (const char* bad : {R"(a\)", R"(\q)", R"(\x4)", R"(\xG0)"}) EXPECT_FALSE(UnescapeText(bad)) << bad;

  const ByteFrame awkward = Bytes("A\r\n\t\0\\\"\x7F\x01\xFE 中"s);
  const std::string escaped = EscapeText(awkward);
  EXPECT_EQ(escaped, "A\\r\\n\\t\\x00\\\\\\\"\\x7F\\x01\\xFE 中");
  EXPECT_EQ(UnescapeText(escaped), awkward);
  // A broken UTF-8 sequence is escaped byte by byte, so it survives the round trip.
  const ByteFrame broken = Bytes("\xE4\xB8");
  EXPECT_EQ(EscapeText(broken), "\\xE4\\xB8");
  EXPECT_EQ(UnescapeText(EscapeText(broken)), broken);
}

TEST(FrameText, ChecksumNamesAppendTheirBytes) {
  // The well-known Modbus requests and their CRCs, low byte first.
  EXPECT_EQ(Frame("01 03 00 00 00 01 +crc16-modbus"), (ByteFrame{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
  EXPECT_EQ(Frame("01 03 00 00 00 03+crc16-modbus"), (ByteFrame{0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB}));
  EXPECT_EQ(Frame("01 03 06 00 EA 01 90 00 01 + crc16-modbus"),
            (ByteFrame{0x01, 0x03, 0x06, 0x00, 0xEA, 0x01, 0x90, 0x00, 0x01, 0xF8, 0xB3}));
  EXPECT_EQ(Frame("  \"AT\\r\\n\" +sum8 "), (ByteFrame{'A', 'T', '\r', '\n', 0xAC}));
  EXPECT_EQ(Frame("\"+x\""), Bytes("+x"));
  EXPECT_EQ(Frame("01 02 03 +xor"), (ByteFrame{0x01, 0x02, 0x03, 0x00}));
  EXPECT_EQ(BuildFrame(FrameKind::Text, "a\\x01", std::nullopt), (ByteFrame{'a', 0x01}));
}

TEST(FrameText, MistakesAreNamed) {
  const struct {
    const char* text;
    const char* reason;
  } cases[] = {
      {"01 03 +crc99", "未知的校验：\"crc99\""},
      {"01 03 +", "未知的校验"},
      // A custom checksum program is never run for a file's frame.
      {"01 03 +custom1", "未知的校验"},
      {"\"AT\\r\\n", "文本缺少结尾的引号"},
      {"\"AT\\\"", "文本缺少结尾的引号"},
      {"\"AT\" 01", "帧后有多余的文字"},
      {"\"\\q\"", "未知的转义"},
      {"   ", "没有帧"},
      {"01 3 +sum8", "不是十六进制字节：\"3\""},
  };
  for (const auto& [text, reason] : cases) {
    const Expected<ByteFrame> frame = ParseFrameText(text);
    ASSERT_FALSE(frame) << text;
    EXPECT_NE(frame.Reason().find(reason), std::string::npos) << text << ": " << frame.Reason();
  }
}

}  // namespace
}  // namespace portprobe
