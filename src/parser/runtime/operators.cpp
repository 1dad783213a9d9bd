#include "parser/runtime/operators.h"

#include "parser/language/statement_table.h"

namespace portprobe::parser {

std::optional<Word> BinaryOperation(std::optional<Operator> op, Word a, Word b) {
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
      return Word{a != 0 && b != 0};
    case kLogicalOr:
      return Word{a != 0 || b != 0};
    case kEqual:
      return Word{a == b};
    case kLess:
      return Word{a < b};
    case kGreater:
      return Word{a > b};
    case kLessOrEqual:
      return Word{a <= b};
    case kGreaterOrEqual:
      return Word{a >= b};
    case kNotEqual:
      return Word{a != b};
  }
  return 0;  // no other value is ever made: every row's argument names an operator
}

Word UnaryOperation(StepOperation op, Word value) {
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

std::optional<Word> EvaluateCondition(Variables& variables, std::string_view a, std::string_view op,
                                      std::string_view b) {
  const Word left = variables.OperandValue(a);
  const Word right = variables.OperandValue(b);
  return BinaryOperation(OperatorOf(op), left, right);
}

}  // namespace portprobe::parser
