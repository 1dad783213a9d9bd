#include "common/line_indexed_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace portprobe {
namespace {

constexpr std::size_t kLong = LineIndexedText::kMaxLineBytes;

std::vector<std::string> Lines(const LineIndexedText& text) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < text.LineCount(); ++i) lines.emplace_back(text.Line(i));
  return lines;
}

std::vector<std::size_t> Starts(const LineIndexedText& text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.LineCount(); ++i) starts.push_back(text.LineStart(i));
  return starts;
}

using Texts = std::vector<std::string>;

TEST(LineIndexedText, BreaksLinesAtCrLfAtALoneCrAndAtALoneLf) {
  LineIndexedText text;
  EXPECT_EQ(Lines(text), Texts{""});
  text.Append("a\r\nb\rc\nd\n\re");
  EXPECT_EQ(Lines(text), (Texts{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(text.LineStart(1), 3u);
  EXPECT_EQ(text.LineOf(0), 0u);
  EXPECT_EQ(text.LineOf(2), 0u);
  EXPECT_EQ(text.LineOf(3), 1u);
  EXPECT_EQ(text.LineOf(text.Size()), 5u);

  // CR and LF that arrive in two appends still make one break.
  LineIndexedText split;
  split.Append("H\r");
  EXPECT_EQ(Lines(split), (Texts{"H", ""}));
  split.Append("\nI\r");
  split.Append("\r\n");
  EXPECT_EQ(Lines(split), (Texts{"H", "I", "", ""}));
  EXPECT_EQ(split.All(), "H\r\nI\r\r\n");
}

TEST(LineIndexedText, SplitsOverlongLinesBetweenCharacters) {
  LineIndexedText text;
  const std::string ascii(kLong * 2 + 5, 'x');
  text.Append(ascii);
  EXPECT_EQ(Lines(text), (Texts{std::string(kLong, 'x'), std::string(kLong, 'x'), "xxxxx"}));
  EXPECT_EQ(text.LongestLine(), kLong);

  // "中" is three bytes; one of them would reach past the limit.
  LineIndexedText wide;
  std::string chinese;
  while (chinese.size() < kLong + 10) chinese += "中";
  wide.Append(chinese.substr(0, 7));  // a character cut in two by the appends
  wide.Append(chinese.substr(7));
  ASSERT_EQ(wide.LineCount(), 2u);
  EXPECT_EQ(wide.Line(0).size(), kLong - kLong % 3);
  EXPECT_EQ(std::string(wide.Line(0)) + std::string(wide.Line(1)), chinese);
}

// Editing anywhere must leave the same index as building it anew from the result.
TEST(LineIndexedText, EditsKeepTheIndexOfTheWholeText) {
  std::mt19937 random(5);
  const std::vector<std::string> pieces = {"ab", "\r", "\n", "\r\n", "中", "\xE4", "\r", "\n", " "};
  const std::string longRun(kLong - 2, 'y');
  LineIndexedText text;
  std::string reference;
  for (int edit = 0; edit < 3000; ++edit) {
    std::string insert = edit % 50 == 0 ? longRun : "";
    for (int n = static_cast<int>(random() % 4); n > 0; --n) insert += pieces[random() % pieces.size()];
    const std::size_t from = reference.empty() ? 0 : random() % (reference.size() + 1);
    // Now and then a long stretch goes, so the text stays small and every edit stays quick to check.
    const std::size_t length = edit % 50 == 25 ? 2 * kLong : random() % 40;
    const std::size_t to = std::min(reference.size(), from + length);
    text.Replace(from, to, insert);
    reference.replace(from, to - from, insert);

    LineIndexedText rebuilt;
    rebuilt.Append(reference);
    ASSERT_EQ(text.All(), reference) << edit;
    ASSERT_EQ(Starts(text), Starts(rebuilt)) << edit;
  }
}

TEST(LineIndexedText, DropsTheOldestWholeLinesBeyondItsLimit) {
  constexpr std::size_t kLimit = 1 << 20;
  LineIndexedText text(kLimit);
  std::string reference;
  std::size_t droppedBytes = 0;
  for (int n = 0; n < 60000; ++n) {
    const std::string line = "line " + std::to_string(n) + std::string(n % 90, '.') + "\r\n";
    droppedBytes += text.Append(line).bytes;
    reference += line;
    ASSERT_LE(text.Size(), kLimit);
  }
  // Well past the point where dropped bytes are moved out of the storage.
  ASSERT_GT(droppedBytes, 2 * kLimit);
  EXPECT_EQ(text.All(), std::string_view(reference).substr(droppedBytes));
  EXPECT_EQ(reference[droppedBytes - 1], '\n');
  EXPECT_GT(text.Size() + 200, kLimit);
  EXPECT_EQ(text.Line(text.LineCount() - 2), "line 59999" + std::string(59999 % 90, '.'));

  text.Clear();
  EXPECT_TRUE(text.Empty());
  EXPECT_EQ(text.LineCount(), 1u);
  EXPECT_EQ(text.LongestLine(), 0u);
}

}  // namespace
}  // namespace portprobe
