#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace portprobe::parser {

// The three passes that turn a line as written into the line that runs. Each pass
// tracks quotes by counting single and double quote bytes together: a byte stands
// outside quotes while that count is even.

// "(", ")", "," and ";" outside quotes become blanks.
std::string BlankPunctuation(std::string_view line);

// The line ends at the first "//" outside quotes.
std::string CutComment(std::string_view line);

inline constexpr std::size_t kMaxOperatorBlanks = 64;

// Puts a blank between an operator byte and a touching name, number, quote or bracket,
// so that "x=a[1]+b" reads "x = a [ 1 ] + b". The first byte is never examined, nor
// the last one, except that a last "]" or "}" gets the blank before it; at most
// kMaxOperatorBlanks blanks are inserted.
std::string SpaceOperators(std::string_view line);

// All three passes in order.
std::string NormalizeLine(std::string_view line);

}  // namespace portprobe::parser
