#include "parser/language/index_words.h"

namespace portprobe::parser {

namespace {

// Joins the words first..last into one word; false unless 0 <= first < last < count.
bool JoinRange(Words& words, int first, int last) {
  if (first < 0 || first >= last || static_cast<std::size_t>(last) >= words.size()) return false;
  for (int i = first + 1; i <= last; ++i) words[first] += words[i];
  words.erase(words.begin() + first + 1, words.begin() + last + 1);
  return true;
}

}  // namespace

IndexJoin JoinIndexWords(Words& words) {
  for (int open = PositionOfWord(words, "["); open >= 0; open = PositionOfWord(words, "[")) {
    const int name = open - 1;
    const int close = PositionOfWord(words, "]");
    if (name < 0 || close < name) return IndexJoin::kUnpaired;
    if (!JoinRange(words, name, close)) return IndexJoin::kNotJoined;
  }
  return IndexJoin::kJoined;
}

}  // namespace portprobe::parser
