#include "codec/text_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "codec/hex_codec.h"
#include "codec/hex_format.h"
#include "common/line_indexed_text.h"

namespace portprobe {
namespace {

constexpr std::string_view kBlockSeparator = "\r\n    \r\n";

TextSearch Text(std::string_view typed, bool matchCase = true) {
  return *TextSearch::Make(typed, TextSearch::Kind::Text, matchCase, true);
}

TextSearch Hex(std::string_view typed, bool hexLayout = true) {
  return *TextSearch::Make(typed, TextSearch::Kind::Hex, false, hexLayout);
}

// The hex layout of bytes 0, 1, 2, ... n-1 as the receive box shows one block of them.
std::string LayoutOfCountingBytes(int count, int first = 0) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  std::iota(bytes.begin(), bytes.end(), static_cast<std::uint8_t>(first));
  return FormatHexBytes(bytes);
}

std::string_view Matched(std::string_view text, const std::optional<TextRange>& range) {
  return range ? text.substr(range->from, range->to - range->from) : std::string_view("(none)");
}

TEST(TextSearch, FindsTextForwardAndBackwardAndMisses) {
  const std::string text = "abc OK abc ok";
  const TextSearch search = Text("abc");
  EXPECT_EQ(search.Next(text, 0), (TextRange{0, 3}));
  EXPECT_EQ(search.Next(text, 1), (TextRange{7, 10}));
  EXPECT_EQ(search.Next(text, 8), std::nullopt);
  EXPECT_EQ(search.Next(text, 1, 7), std::nullopt) << "a match must start before the limit";
  EXPECT_EQ(search.Previous(text, text.size()), (TextRange{7, 10}));
  EXPECT_EQ(search.Previous(text, 7), (TextRange{0, 3}));
  EXPECT_EQ(search.Previous(text, 0), std::nullopt);
  EXPECT_EQ(Text("abcd").Next(text, 0), std::nullopt);
  EXPECT_EQ(Text("ok").Next("", 0), std::nullopt);
}

TEST(TextSearch, FoldsAsciiCaseOnlyWhenAsked) {
  const std::string text = "Ok then OK and ok";
  EXPECT_EQ(Text("ok").Next(text, 0), (TextRange{15, 17}));
  EXPECT_EQ(Text("OK").Previous(text, text.size()), (TextRange{8, 10}));
  const TextSearch folded = Text("oK", false);
  EXPECT_EQ(folded.Next(text, 0), (TextRange{0, 2}));
  EXPECT_EQ(folded.Next(text, 1), (TextRange{8, 10}));
  EXPECT_EQ(folded.Previous(text, 15), (TextRange{8, 10}));
  EXPECT_EQ(folded.Overlapping(text, 0, text.size()).size(), 3u);
  // Punctuation and digits near the letters stay as they are: '@' and '`' are not letters.
  EXPECT_EQ(Text("@1", false).Next("`1 @1", 0), (TextRange{3, 5}));
}

TEST(TextSearch, KeepsUtf8CharactersWhole) {
  const std::string text = "温度 25℃ 湿度 40%";
  EXPECT_EQ(Matched(text, Text("湿度", false).Next(text, 0)), "湿度");
  EXPECT_EQ(Matched(text, Text("℃", false).Next(text, 0)), "℃");
  // "度" and "庄" share their first two bytes; only the whole character matches.
  EXPECT_EQ(Text("\xE5\xBA\x84", false).Next(text, 0), std::nullopt);
}

TEST(TextSearch, FindsHexBytesAcrossTheBreaksOfTheHexLayout) {
  // Three lines of 16 bytes: 07 08 sit around the double space after the 8th byte,
  // 0F 10 around the first line break.
  const std::string text = LayoutOfCountingBytes(40);
  EXPECT_EQ(Matched(text, Hex("01 03").Next(text, 0)), std::string_view("(none)"));
  EXPECT_EQ(Matched(text, Hex("01 02").Next(text, 0)), "01 02");
  EXPECT_EQ(Matched(text, Hex("07 08").Next(text, 0)), "07   08");
  EXPECT_EQ(Matched(text, Hex("0e0f1011").Next(text, 0)), "0E 0F \r\n10 11");
  EXPECT_EQ(Matched(text, Hex("1F 20").Previous(text, text.size())), "1F \r\n20");
  // Digits inside other words are no bytes: "10" of "0102" or of a time is passed over.
  const std::string words = "0102 [12:10:05.100] 10 ✓";
  EXPECT_EQ(Hex("10").Next(words, 0), (TextRange{20, 22}));
  EXPECT_EQ(Hex("01").Next(words, 0), std::nullopt);
}

TEST(TextSearch, FindsHexBytesAcrossBlockSeparatorsAndMarks) {
  // Two blocks, the first ended by a check mark, the second led by a time stamp.
  const std::string text = LayoutOfCountingBytes(3, 0xA0) + "✓" + std::string(kBlockSeparator) + "[12:34:56.789] " +
                           LayoutOfCountingBytes(2, 0xB0);
  EXPECT_EQ(Matched(text, Hex("a1 A2 b0").Next(text, 0)), "A1 A2 ✓\r\n    \r\n[12:34:56.789] B0");
  EXPECT_EQ(Hex("a2 b1").Next(text, 0), std::nullopt);
  // Other text between the bytes is passed over, up to 64 KiB of it.
  EXPECT_TRUE(Hex("01 02").Next("01 " + std::string(60000, 'x') + " 02", 0));
  EXPECT_FALSE(Hex("01 02").Next("01 " + std::string(70000, 'x') + " 02", 0));
  // Lower-case digits in the text match as well.
  EXPECT_EQ(Matched("ab cd", Hex("AB CD").Next("ab cd", 0)), "ab cd");
}

TEST(TextSearch, FindsHexBytesAsRawBytesWithoutTheLayout) {
  const std::string text = "AT\r\nOK\r\n";
  EXPECT_EQ(Hex("0d 0a 4f", false).Next(text, 0), (TextRange{2, 5}));
  EXPECT_EQ(Hex("4f 4b", false).Previous(text, text.size()), (TextRange{4, 6}));
  EXPECT_EQ(Hex("4F 4B", true).Next(text, 0), std::nullopt);
}

TEST(TextSearch, RefusesEmptyPatternsAndHexThatIsNotWholeGroups) {
  for (std::string_view bad : {"", " ", "1", "01 3", "0g", "01,02", "01\t02"}) {
    EXPECT_FALSE(TextSearch::Make(bad, TextSearch::Kind::Hex, true, true)) << bad;
  }
  EXPECT_FALSE(TextSearch::Make("", TextSearch::Kind::Text, true, true));
  EXPECT_TRUE(TextSearch::Make(" ", TextSearch::Kind::Text, true, true));
  EXPECT_TRUE(TextSearch::Make(" 01\r\n02 ", TextSearch::Kind::Hex, true, true));
}

// The highlight of a few lines: a match that began lines earlier still shows on them.
TEST(TextSearch, GivesTheMatchesOverlappingAStretch) {
  const std::string text = LayoutOfCountingBytes(48);
  const std::size_t secondLine = text.find("10 ");
  const std::size_t thirdLine = text.find("20 ");
  const TextSearch search = Hex("0F 10 11");
  EXPECT_EQ(search.Overlapping(text, secondLine, thirdLine), std::vector<TextRange>{*search.Next(text, 0)});
  EXPECT_TRUE(search.Overlapping(text, thirdLine, text.size()).empty());
  const std::string repeated = "abab abab";
  EXPECT_EQ(Text("ab").Overlapping(repeated, 3, 7), (std::vector<TextRange>{{2, 4}, {5, 7}}));
}

// Positions are those of the bounded text as it is after its oldest lines went.
TEST(TextSearch, FindsInABoundedTextAfterItsOldestLinesWereDropped) {
  LineIndexedText text(256);
  for (int block = 0; block < 12; ++block) {
    text.Append(LayoutOfCountingBytes(16, block * 16));
    text.Append(kBlockSeparator);
  }
  ASSERT_LT(text.Size(), 256u);
  EXPECT_EQ(Hex("00 01").Next(text.All(), 0), std::nullopt) << "the first block is gone";
  const std::optional<TextRange> found = Hex("AF B0").Previous(text.All(), text.Size());
  ASSERT_TRUE(found);
  EXPECT_EQ(Matched(text.All(), found), "AF \r\n\r\n    \r\nB0");
  EXPECT_EQ(text.LineOf(found->to - 1), text.LineOf(found->from) + 3);
  EXPECT_EQ(Hex("AF B0").Next(text.All(), 0), found);
}

// Texts of two letters, where partial matches overlap everywhere: every match that a
// plain comparison at each place finds, the search finds, forward, backward and in a
// stretch, as text and as bytes of the hex layout.
TEST(TextSearch, AgreesWithAComparisonAtEveryPlaceOnRepetitiveText) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string letters(40 + random() % 200, 'a');
    for (char& c : letters) c = random() % 4 == 0 ? 'b' : 'a';
    std::string pattern(1 + random() % 6, 'a');
    for (char& c : pattern) c = random() % 4 == 0 ? 'b' : 'a';
    std::vector<std::size_t> starts;
    for (std::size_t at = letters.find(pattern); at != std::string::npos; at = letters.find(pattern, at + 1)) {
      starts.push_back(at);
    }
    const TextSearch text = Text(pattern);
    const std::size_t from = random() % letters.size();
    const auto firstFrom = std::lower_bound(starts.begin(), starts.end(), from);
    const std::optional<TextRange> next = text.Next(letters, from);
    ASSERT_EQ(next.has_value(), firstFrom != starts.end()) << letters << " / " << pattern;
    if (next) {
      EXPECT_EQ(next->from, *firstFrom);
    }
    const std::optional<TextRange> previous = text.Previous(letters, from);
    const auto lastBefore = std::lower_bound(starts.begin(), starts.end(), from);
    ASSERT_EQ(previous.has_value(), lastBefore != starts.begin()) << letters << " / " << pattern;
    if (previous) {
      EXPECT_EQ(previous->from, *std::prev(lastBefore));
    }

    // The same letters as bytes AA and BB of the hex layout, in lines of 16.
    std::vector<std::uint8_t> bytes(letters.begin(), letters.end());
    for (std::uint8_t& byte : bytes) byte = byte == 'a' ? 0xAA : 0xBB;
    std::string hexPattern;
    for (char c : pattern) hexPattern += c == 'a' ? "aa " : "bb ";
    const std::string layout = FormatHexBytes(bytes);
    const std::optional<TextRange> hexNext = Hex(hexPattern).Next(layout, 0);
    ASSERT_EQ(hexNext.has_value(), !starts.empty()) << letters << " / " << pattern;
    if (hexNext) {
      EXPECT_EQ(ParseHexText(layout.substr(0, hexNext->from)).size(), starts.front());
      EXPECT_EQ(ParseHexText(layout.substr(hexNext->from, hexNext->to - hexNext->from)).size(), pattern.size());
    }
    const std::optional<TextRange> hexLast = Hex(hexPattern).Previous(layout, layout.size());
    if (hexLast) {
      EXPECT_EQ(ParseHexText(layout.substr(0, hexLast->from)).size(), starts.back());
    }
  }
}

}  // namespace
}  // namespace portprobe
