#pragma once

#include <optional>
#include <string_view>

#include "parser/language/operations.h"
#include "parser/runtime/variables.h"
#include "parser/runtime/script_value.h"

namespace portprobe::parser {

// The two-operand operations on unsigned words; comparisons and logical operations
// give 1 or 0. No operator (a word that names none) gives 0; a division by zero gives
// no value.
std::optional<ScriptValue> BinaryOperation(std::optional<Operator> op, ScriptValue a, ScriptValue b);

ScriptValue UnaryOperation(StepOperation op, ScriptValue value);

// "a W b": both operands evaluated left to right, then the operator word looked up.
// No value on a division by zero.
std::optional<ScriptValue> EvaluateCondition(Variables& variables, std::string_view a, std::string_view op,
                                             std::string_view b);

}  // namespace portprobe::parser
