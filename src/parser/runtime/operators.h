#pragma once

#include <optional>
#include <string_view>

#include "parser/language/operations.h"
#include "parser/runtime/variables.h"
#include "parser/runtime/word.h"

namespace portprobe::parser {

// The two-operand operations on unsigned words; comparisons and logical operations
// give 1 or 0. No operator (a word that names none) gives 0; a division by zero gives
// no value.
std::optional<Word> BinaryOperation(std::optional<Operator> op, Word a, Word b);

Word UnaryOperation(StepOperation op, Word value);

// "a W b": both operands evaluated left to right, then the operator word looked up.
// No value on a division by zero.
std::optional<Word> EvaluateCondition(Variables& variables, std::string_view a, std::string_view op,
                                      std::string_view b);

}  // namespace portprobe::parser
