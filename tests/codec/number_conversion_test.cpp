#include "codec/number_conversion.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

TEST(ConvertNumber, DecimalToHexWidensWithTheText) {
  const auto convert = [](std::string_view text) { return ConvertNumber(ConversionCode::DecimalToHex, text); };
  EXPECT_EQ(convert("255"), "FF");
  EXPECT_EQ(convert("1234"), "04D2");
  EXPECT_EQ(convert("65536"), "10000");
  EXPECT_EQ(convert("-1"), "FFFFFFFF");
  EXPECT_EQ(convert("abc"), "00");
  EXPECT_EQ(convert("12345678"), "00BC614E");
  EXPECT_EQ(convert("  42 a"), "00002A");  // six bytes of text: six digits
  EXPECT_EQ(convert(""), "00");
  EXPECT_EQ(convert("99999999999"), "7FFFFFFF");  // beyond 32 bits: the largest value
}

TEST(ConvertNumber, HexToDecimalFillsFromTheTopByte) {
  const auto convert = [](std::string_view text) { return ConvertNumber(ConversionCode::HexToDecimal, text); };
  EXPECT_EQ(convert("00 00 00 12"), "18");
  EXPECT_EQ(convert("12"), "301989888");
  EXPECT_EQ(convert("12 34"), "305397760");
  EXPECT_EQ(convert("FF FF FF FF"), "-1");
  EXPECT_EQ(convert("zz"), "0");
  EXPECT_EQ(convert("00 00 00 01 02"), "1");  // bytes past the fourth are ignored
  // Only the first 16 characters count.
  EXPECT_EQ(convert("               01"), "0");
}

TEST(ConvertNumber, HexToBinaryShowsTheBytesAndTheirBits) {
  const auto convert = [](std::string_view text) { return ConvertNumber(ConversionCode::HexToBinary, text); };
  EXPECT_EQ(convert("12"), "12 -> 0001 0010 ");
  EXPECT_EQ(convert("A5 0F"), "A5 0F -> 1010 0101 0000 1111 ");
  EXPECT_EQ(convert("01 02 03"), "01 02 03 -> 0000 0001 0000 0010 0000 0011 ");
  EXPECT_EQ(convert("zz"), "00 -> ");
  EXPECT_EQ(convert("80 00 00 01"), "80 00 00 01 -> 1000 0000 0000 0000 0000 0000 0000 0001 ");
}

}  // namespace
}  // namespace portprobe
