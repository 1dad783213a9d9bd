#include "parser/runtime/operators.h"

#include "parser/runtime/statement_table.h"

namespace portprobe::parser {

std::optional<ScriptValue> BinaryOperation(std::optional<Operator> op, ScriptValue a, ScriptValue b) {
  if (!op) return 0;
  switch (*op) {
    using enum Operator;
    case kAdd:
      return a + b;
    case kSubtract:
      return a - b;
    case kMultiply:
      return a * b;
    case kDivide:
      if (b == 0) return std::nullopt;
      return a / b;
    case kBitAnd:
      return a & b;
    case kBitOr:
      return a | b;
    case kBitXor:
      return a ^ b;
    case kLogicalAnd:
      return ScriptValue{a != 0 && b != 0};
    case kLogicalOr:
      return ScriptValue{a != 0 || b != 0};
    case kEqual:
      return ScriptValue{a == b};
    case kLess:
      return ScriptValue{a < b};
    case kGreater:
      return ScriptValue{a > b};
    case kLessOrEqual:
      return ScriptValue{a <= b};
    case kGreaterOrEqual:
      return ScriptValue{a >= b};
    case kNotEqual:
      return ScriptValue{a != b};
  }
  return 0;  // no other value is ever made: every row's argument names an operator
}

ScriptValue UnaryOperation(StepOperation op, ScriptValue value) {
  switch (op) {
    case StepOperation::kIncrement:
      return value + 1;
    case StepOperation::kDecrement:
      return value - 1;
    case StepOperation::kComplement:
      return ~value;
  }
  return value;
}

std::optional<ScriptValue> EvaluateCondition(Variables& variables, std::string_view a, std::string_view op,
                                             std::string_view b) {
  const ScriptValue left = variables.OperandValue(a);
  const ScriptValue right = variables.OperandValue(b);
  return BinaryOperation(OperatorOf(op), left, right);
}

}  // namespace portprobe::parser
