#include "parser/language/line_normalizer.h"

#include <vector>

#include "parser/language/ascii.h"

namespace portprobe::parser {

namespace {

class QuoteTracker {
 public:
  // Counts the byte when it is a quote; true when the byte is not a quote and stands
  // outside quotes.
  bool IsOutsideQuotes(char c) {
    if (IsQuoteByte(c)) {
      ++quotes_;
      return false;
    }
    return quotes_ % 2 == 0;
  }

 private:
  int quotes_ = 0;
};

bool IsPunctuation(char c) { return c == '(' || c == ')' || c == ',' || c == ';'; }

bool IsOperatorCharacter(char c) {
  constexpr std::string_view kOperatorCharacters = "%&*+-/<=>[]{|}~";
  return kOperatorCharacters.find(c) != std::string_view::npos;
}

// Bytes that an operator must not touch: those of names, numbers, quotes and brackets.
bool IsOperandByte(char c) {
  return IsAsciiLetter(c) || IsDecimalDigit(c) || c == '_' || IsQuoteByte(c) || c == '[' || c == ']' || c == '{' ||
         c == '}';
}

bool IsClosingBracket(char c) { return c == ']' || c == '}'; }

std::string InsertBlanks(std::string_view line, const std::vector<std::size_t>& marks) {
  std::string spaced;
  spaced.reserve(line.size() + marks.size());
  std::size_t copied = 0;
  for (std::size_t mark : marks) {
    spaced.append(line.substr(copied, mark - copied));
    spaced += ' ';
    copied = mark;
  }
  spaced.append(line.substr(copied));
  return spaced;
}

}  // namespace

std::string BlankPunctuation(std::string_view line) {
  std::string blanked(line);
  QuoteTracker quotes;
  for (char& c : blanked) {
    if (quotes.IsOutsideQuotes(c) && IsPunctuation(c)) c = ' ';
  }
  return blanked;
}

std::string CutComment(std::string_view line) {
  QuoteTracker quotes;
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    if (quotes.IsOutsideQuotes(line[i]) && line[i] == '/' && line[i + 1] == '/') {
      return std::string(line.substr(0, i));
    }
  }
  return std::string(line);
}

std::string SpaceOperators(std::string_view line) {
  std::vector<std::size_t> marks;
  auto mark = [&marks](std::size_t position) {
    if (marks.size() < kMaxOperatorBlanks) marks.push_back(position);
  };
  QuoteTracker quotes;
  for (std::size_t i = 1; i + 1 < line.size(); ++i) {
    if (!quotes.IsOutsideQuotes(line[i]) || !IsOperatorCharacter(line[i])) continue;
    if (IsOperandByte(line[i - 1])) mark(i);
    if (IsOperandByte(line[i + 1])) mark(i + 1);
  }
  // A closing bracket that ends the line gets its blank before it too, so that
  // "print a[5]" and "int a[3] = {1,2,3}" read as they do with a ";" after them.
  const std::size_t last = line.size() - 1;
  if (line.size() >= 2 && IsClosingBracket(line[last]) && quotes.IsOutsideQuotes(line[last]) &&
      IsOperandByte(line[last - 1])) {
    mark(last);
  }
  return InsertBlanks(line, marks);
}

std::string NormalizeLine(std::string_view line) { return SpaceOperators(CutComment(BlankPunctuation(line))); }

}  // namespace portprobe::parser
