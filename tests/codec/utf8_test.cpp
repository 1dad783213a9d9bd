#include "codec/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portprobe {
namespace {

// The characters of a text, as (code point, length) pairs.
std::vector<std::pair<char32_t, std::size_t>> Characters(std::string_view text) {
  std::vector<std::pair<char32_t, std::size_t>> characters;
  for (std::size_t position = 0; position < text.size();) {
    const Utf8Character c = DecodeUtf8At(text, position);
    characters.emplace_back(c.codePoint, c.length);
    position += c.length;
  }
  return characters;
}

using Expected = std::vector<std::pair<char32_t, std::size_t>>;
constexpr char32_t kBad = kReplacementCharacter;

TEST(DecodeUtf8At, DecodesWellFormedSequencesOfEveryLength) {
  EXPECT_EQ(Characters("A\x7F"), (Expected{{U'A', 1}, {0x7F, 1}}));
  EXPECT_EQ(Characters("\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), (Expected{{U'é', 2}, {U'中', 3}, {0x1F600, 4}}));
  EXPECT_EQ(Characters("\xF4\x8F\xBF\xBF"), (Expected{{0x10FFFF, 4}}));
}

// Each ill-formed piece becomes one U+FFFD for its longest valid-looking beginning, so
// the bytes after it are read as they are.
TEST(DecodeUtf8At, ReplacesIllFormedBytesWithoutSwallowingWhatFollows) {
  EXPECT_EQ(Characters("\xFF"
                       "A"),
            (Expected{{kBad, 1}, {U'A', 1}}));
  EXPECT_EQ(Characters("\x80\xBF"), (Expected{{kBad, 1}, {kBad, 1}}));
  EXPECT_EQ(Characters("\xE4\xB8"
                       "A"),
            (Expected{{kBad, 2}, {U'A', 1}}));
  EXPECT_EQ(Characters("\xE4\xB8"), (Expected{{kBad, 2}}));             // cut off by the end
  EXPECT_EQ(Characters("\xC0\x80"), (Expected{{kBad, 1}, {kBad, 1}}));  // overlong
  EXPECT_EQ(Characters("\xE0\x80\x80"), (Expected{{kBad, 1}, {kBad, 1}, {kBad, 1}}));
  EXPECT_EQ(Characters("\xED\xA0\x80"), (Expected{{kBad, 1}, {kBad, 1}, {kBad, 1}}));  // surrogate
  EXPECT_EQ(Characters("\xF4\x90\x80\x80"), (Expected{{kBad, 1}, {kBad, 1}, {kBad, 1}, {kBad, 1}}));
}

}  // namespace
}  // namespace portprobe
