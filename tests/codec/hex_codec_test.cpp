#include "codec/hex_codec.h"
#include "codec/hex_format.h"

#include <gtest/gtest.h>

#include <string>

namespace portprobe {
namespace {

ByteFrame Bytes(std::initializer_list<int> values) {
  ByteFrame frame;
  for (int v : values) frame.push_back(static_cast<std::uint8_t>(v));
  return frame;
}

TEST(HexDigitValue, AcceptsOnlyAsciiHexDigits) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('a'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  for (int c : {int{'g'}, int{'G'}, int{' '}, int{'x'}, int{'/'}, int{':'}, int{'@'}, int{'`'}, 0x80, 0xB0, 0xFF}) {
    EXPECT_EQ(HexDigitValue(static_cast<unsigned char>(c)), -1) << c;
  }
}

// One line whatever the length, unlike the send box layout, and read back by ParseHexText.
TEST(HexPairs, PutsEveryByteOnOneLineSeparatedBySingleSpaces) {
  EXPECT_EQ(HexPairs(ByteFrame{}), "");
  EXPECT_EQ(HexPairs(Bytes({0x00, 0x0A, 0xFF})), "00 0A FF");
  ByteFrame many(20, 0xC3);
  const std::string text = HexPairs(many);
  EXPECT_EQ(text.size(), 20u * 3 - 1);
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(ParseHexText(text), many);
}

TEST(ParseHexText, FollowsTheGroupGrammar) {
  EXPECT_EQ(ParseHexText("0b 03 07 00 34 12 00 00 01 01 00").size(), 11u);
  EXPECT_EQ(ParseHexText("0B0307"), Bytes({0x0B, 0x03, 0x07}));
  EXPECT_EQ(ParseHexText("aB"), Bytes({0xAB}));
  EXPECT_EQ(ParseHexText("\r\n  12\r\n34\n"), Bytes({0x12, 0x34}));
  // A pair that is not a group ends decoding; what came before stays.
  EXPECT_EQ(ParseHexText("0b 0 3"), Bytes({0x0B}));
  EXPECT_EQ(ParseHexText("12\t34"), Bytes({0x12}));
  EXPECT_EQ(ParseHexText("1 2"), ByteFrame{});
  EXPECT_EQ(ParseHexText("12 3 45"), Bytes({0x12}));
  EXPECT_EQ(ParseHexText("0x12"), ByteFrame{});
  EXPECT_EQ(ParseHexText("12,34"), Bytes({0x12}));
  // A lone digit at the very end is dropped.
  EXPECT_EQ(ParseHexText("ABC"), Bytes({0xAB}));
  EXPECT_EQ(ParseHexText("123"), Bytes({0x12}));
  EXPECT_EQ(ParseHexText(""), ByteFrame{});
  EXPECT_EQ(ParseHexText("   "), ByteFrame{});
}

// The stop is where the grammar above ends early, counted in characters, also when
// the text comes in pieces that split a group or a character.
TEST(FindHexTextStop, NamesTheCharacterWhereReadingEndedEarly) {
  const auto stop = [](std::string_view text) {
    const std::optional<HexTextStop> found = FindHexTextStop(text);
    return found ? std::to_string(found->character) + "," + std::to_string(found->bytesBefore) : std::string("none");
  };
  EXPECT_FALSE(FindHexTextStop("\r\n 0b 03\n"));
  EXPECT_FALSE(FindHexTextStop(""));
  EXPECT_EQ(stop("0b 0 3"), "4,1");
  EXPECT_EQ(stop("12 3 45"), "4,1");
  EXPECT_EQ(stop("0x12"), "1,0");
  EXPECT_EQ(stop("123"), "3,1");
  EXPECT_EQ(stop("中文 01"), "1,0");
  EXPECT_EQ(stop("01 ０１"), "4,1");

  HexStreamDecoder decoder;
  EXPECT_EQ(decoder.Feed("01 \xE4\xB8"), Bytes({0x01}));
  EXPECT_EQ(decoder.Feed("\xAD"), ByteFrame{});
  ASSERT_TRUE(decoder.Stop());
  EXPECT_EQ(decoder.Stop()->character, 4u);
  HexStreamDecoder split;
  EXPECT_EQ(split.Feed("01 0"), Bytes({0x01}));
  EXPECT_EQ(split.Stop()->character, 4u);  // unfinished for now
  EXPECT_EQ(split.Feed("2 03"), Bytes({0x02, 0x03}));
  EXPECT_FALSE(split.Stop());
}

TEST(ParseHexText, StopsAtTheRequestedLimit) {
  EXPECT_EQ(ParseHexText("01 02 03 04 05", 4), Bytes({1, 2, 3, 4}));
  EXPECT_EQ(ParseHexText("01 02", 0), ByteFrame{});
}

}  // namespace
}  // namespace portprobe
