#include "parser/runtime/operators.h"

#include "parser/language/statement_table.h"

namespace portprobe::parser {

std::optional<Word> BinaryOperation(int code, Word a, Word b) {
  switch (code) {
    case 0: return a + b;
    case 1: return a - b;
    case 2: return a * b;
    case 3:
      if (b == 0) return std::nullopt;
      return a / b;
    case 4: return a & b;
    case 5: return a | b;
    case 6: return a ^ b;
    case 7: return Word{a != 0 && b != 0};
    case 8: return Word{a != 0 || b != 0};
    case 9: return Word{a == b};
    case 10: return Word{a < b};
    case 11: return Word{a > b};
    case 12: return Word{a <= b};
    case 13: return Word{a >= b};
    case 14: return Word{a != b};
    default: return 0;
  }
}

Word UnaryOperation(int code, Word value) {
  switch (code) {
    case 0: return value + 1;
    case 1: return value - 1;
    case 2: return ~value;
    default: return value;
  }
}

std::optional<Word> EvaluateCondition(Variables& variables, std::string_view a, std::string_view op,
                                      std::string_view b) {
  const Word left = variables.OperandValue(a);
  const Word right = variables.OperandValue(b);
  return BinaryOperation(OperatorCode(op), left, right);
}

}  // namespace portprobe::parser
