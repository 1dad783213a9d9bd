#pragma once

#include <optional>
#include <string_view>

#include "parser/runtime/variables.h"
#include "parser/runtime/word.h"

namespace portprobe::parser {

// The fifteen two-operand operations on unsigned words, by operator code: add, sub,
// mul, div, and, or, xor, logical and, logical or, ==, <, >, <=, >=, !=. Any other
// code gives 0; a division by zero gives no value.
std::optional<Word> BinaryOperation(int code, Word a, Word b);

// 0 increment, 1 decrement, 2 complement; any other code leaves the value unchanged.
Word UnaryOperation(int code, Word value);

// "a W b": both operands evaluated left to right, then the operator word looked up.
// No value on a division by zero.
std::optional<Word> EvaluateCondition(Variables& variables, std::string_view a, std::string_view op,
                                      std::string_view b);

}  // namespace portprobe::parser
