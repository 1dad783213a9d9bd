#include "parser/language/words.h"

#include <algorithm>

#include "parser/language/ascii.h"

namespace portprobe::parser {

namespace {

void AddWord(std::string_view segment, Words& words) {
  const std::string_view trimmed = TrimLowBytes(segment);
  if (!trimmed.empty()) words.push_back(DecodeEscapes(trimmed));
}

}  // namespace

Words SplitWords(std::string_view line) {
  Words words;
  int singleQuotes = 0;
  int doubleQuotes = 0;
  std::size_t wordStart = 0;
  for (std::size_t i = 0; i < line.size() && words.size() < kMaxWordsPerLine; ++i) {
    const char c = line[i];
    if (c == '\'') ++singleQuotes;
    if (c == '"') ++doubleQuotes;
    const bool separator = (c == ' ' || c == '\t') && singleQuotes % 2 == 0 && doubleQuotes % 2 == 0;
    if (!separator) continue;
    AddWord(line.substr(wordStart, i - wordStart), words);
    wordStart = i + 1;
  }
  if (words.size() < kMaxWordsPerLine && wordStart < line.size()) AddWord(line.substr(wordStart), words);
  return words;
}

int PositionOfWord(const Words& words, std::string_view word) {
  const auto found = std::find(words.begin(), words.end(), word);
  return found == words.end() ? -1 : static_cast<int>(found - words.begin());
}

std::string DecodeEscapes(std::string_view word) {
  std::string decoded;
  decoded.reserve(word.size());
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '\\') {
      decoded += word[i];
      continue;
    }
    if (++i == word.size()) break;
    switch (word[i]) {
      case '\\':
        decoded += '\\';
        break;
      case 'n':
        decoded += '\n';
        break;
      case 'r':
        decoded += '\r';
        break;
      default:
        break;
    }
  }
  return decoded;
}

}  // namespace portprobe::parser
