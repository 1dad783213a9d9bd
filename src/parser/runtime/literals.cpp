#include "parser/runtime/literals.h"

#include "parser/language/ascii.h"

namespace portprobe::parser {

namespace {

// A byte that is not a hex digit shifts in as 255, as scripts' literals have always read.
ScriptValue HexDigitOrFiller(char c) {
  if (c >= '0' && c <= '9') return static_cast<ScriptValue>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<ScriptValue>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<ScriptValue>(c - 'a' + 10);
  return 255;
}

}  // namespace

std::string_view StripQuotes(std::string_view word) {
  if (StartsWithQuote(word)) word.remove_prefix(1);
  if (!word.empty() && IsQuoteByte(word.back())) word.remove_suffix(1);
  return word;
}

ScriptValue ParseNumber(std::string_view text) {
  if (!StartsWithDigit(text)) return 0;
  ScriptValue value = 0;
  if (text.size() >= 2 && (text[1] == 'x' || text[1] == 'X')) {
    for (char c : text.substr(2)) value = value * 16 + HexDigitOrFiller(c);
    return value;
  }
  for (std::size_t i = 0; i < text.size() && IsDecimalDigit(text[i]); ++i) {
    value = value * 10 + static_cast<ScriptValue>(text[i] - '0');
  }
  return value;
}

}  // namespace portprobe::parser
