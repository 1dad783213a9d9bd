#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace portprobe::parser {

// The words of one line; word 0 is the statement word.
using Words = std::vector<std::string>;

inline constexpr std::size_t kMaxWordsPerLine = 50;

// Splits at blanks and TABs that stand outside quotes (single and double quotes are
// counted separately); quote bytes stay in the words, escapes are decoded. Words after
// the fiftieth are dropped.
Words SplitWords(std::string_view line);

// Position of the first word equal to the given one, or -1.
int PositionOfWord(const Words& words, std::string_view word);

// "\\" gives a backslash, "\n" a line feed, "\r" a carriage return; a backslash with
// any other byte vanishes together with that byte, and so does a trailing backslash.
std::string DecodeEscapes(std::string_view word);

}  // namespace portprobe::parser
