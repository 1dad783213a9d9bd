#include "codec/text_encoding.h"

#include <gtest/gtest.h>

#include <vector>

namespace portprobe {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// One-, two- and four-byte characters of GB18030, with their UTF-8 text.
constexpr std::string_view kText = "A中文€😀\r\n";
const Bytes kGb18030 = {0x41, 0xD6, 0xD0, 0xCE, 0xC4, 0xA2, 0xE3, 0x94, 0x39, 0xFC, 0x36, 0x0D, 0x0A};

// Wine 8 has no code page 54936; Windows itself has.
constexpr char kNoGb18030[] = "this system cannot convert GB18030";

TEST(TextEncoding, EncodesUtf8TextAndPassesOtherBytesOn) {
  if (!EncodingAvailable(TextEncoding::Gb18030)) GTEST_SKIP() << kNoGb18030;
  EXPECT_EQ(BytesOf(EncodeText(kText, TextEncoding::Gb18030)), kGb18030);
  EXPECT_EQ(EncodeText(kText, TextEncoding::Utf8), kText);
  // Bytes that are not UTF-8, inside and cut off at the end, go out as they are.
  EXPECT_EQ(BytesOf(EncodeText("\xFF中\xE4\xB8", TextEncoding::Gb18030)), (Bytes{0xFF, 0xD6, 0xD0, 0xE4, 0xB8}));
  EXPECT_EQ(EncodeText("", TextEncoding::Gb18030), "");
}

// Where the system lacks GB18030 (Wine), its GBK part is applied, and named so: the
// two-byte characters still convert both ways.
TEST(TextEncoding, NamesWhatIsAppliedAndLetsGbkStandInForAMissingGb18030) {
  EXPECT_EQ(AppliedEncodingName(TextEncoding::Utf8), "UTF-8");
  if (EncodingAvailable(TextEncoding::Gb18030)) {
    EXPECT_FALSE(GbkStandsInForGb18030());
    EXPECT_EQ(AppliedEncodingName(TextEncoding::Gb18030), "GB18030");
    return;
  }
  ASSERT_TRUE(GbkStandsInForGb18030());
  EXPECT_EQ(AppliedEncodingName(TextEncoding::Gb18030), "GBK");
  EXPECT_EQ(BytesOf(EncodeText("A中文", TextEncoding::Gb18030)), (Bytes{0x41, 0xD6, 0xD0, 0xCE, 0xC4}));
  EXPECT_EQ(DecodeText(Bytes{0x41, 0xD6, 0xD0, 0xCE, 0xC4}, TextEncoding::Gb18030), "A中文");
}

TEST(TextDecoder, ShowsCharactersSplitAtEveryByteBoundaryWhole) {
  if (!EncodingAvailable(TextEncoding::Gb18030)) GTEST_SKIP() << kNoGb18030;
  for (std::size_t cut = 0; cut <= kGb18030.size(); ++cut) {
    TextDecoder decoder(TextEncoding::Gb18030);
    std::string text;
    decoder.Decode(std::span(kGb18030).first(cut), text);
    decoder.Decode(std::span(kGb18030).subspan(cut), text);
    EXPECT_EQ(text, kText) << "cut after byte " << cut;
  }
  TextDecoder decoder(TextEncoding::Gb18030);
  std::string text;
  for (std::uint8_t byte : kGb18030) decoder.Decode(std::span(&byte, 1), text);
  EXPECT_EQ(text, kText);
  // UTF-8 is left to the boxes, which decode their whole text.
  EXPECT_EQ(DecodeText(BytesOf("\xFF中"), TextEncoding::Utf8), "\xFF中");
}

TEST(TextDecoder, TurnsEveryStrayByteIntoOneReplacementAndLosesNothingAfterIt) {
  if (!EncodingAvailable(TextEncoding::Gb18030)) GTEST_SKIP() << kNoGb18030;
  // 0x80 and 0xFF start nothing; 0x81 wants a second byte from 0x30, so the space
  // after it stays a space.
  EXPECT_EQ(DecodeText(Bytes{0x41, 0x80, 0x42, 0xFF, 0x81, 0x20, 0xD6, 0xD0}, TextEncoding::Gb18030),
            "A\uFFFDB\uFFFD\uFFFD 中");
  // A character cut off by the end of the text is one replacement.
  EXPECT_EQ(DecodeText(Bytes{0xD6, 0xD0, 0x94, 0x39, 0xFC}, TextEncoding::Gb18030), "中\uFFFD");
  // A lead and a digit that no third byte of a character follows are no cut-off
  // character: what follows them is text.
  EXPECT_EQ(DecodeText(Bytes{0xE9, 0x30, 0x41}, TextEncoding::Gb18030), "\uFFFD0A");
  EXPECT_EQ(DecodeText(Bytes{0x82, 0x38, 0xFF}, TextEncoding::Gb18030), "\uFFFD8\uFFFD");

  // A change of encoding in the middle of a character: the held byte is decoded in the
  // new encoding, and what follows is whole.
  TextDecoder decoder(TextEncoding::Gb18030);
  std::string text;
  decoder.Decode(Bytes{0x41, 0xD6}, text);
  decoder.SetEncoding(TextEncoding::Utf8);
  decoder.Decode(BytesOf("B文"), text);
  EXPECT_EQ(text,
            "A\xD6"
            "B文");
  decoder.SetEncoding(TextEncoding::Gb18030);
  decoder.Decode(Bytes{0xD6}, text);
  decoder.SetEncoding(TextEncoding::Utf8);
  decoder.SetEncoding(TextEncoding::Gb18030);
  decoder.Decode(Bytes{0xD0}, text);
  EXPECT_EQ(text,
            "A\xD6"
            "B文中");
  // A display of bytes takes the held ones over.
  decoder.Decode(Bytes{0x94, 0x39}, text);
  EXPECT_EQ(decoder.TakeHeld(), "\x94\x39");
  decoder.Finish(text);
  EXPECT_EQ(text,
            "A\xD6"
            "B文中");
}

}  // namespace
}  // namespace portprobe
