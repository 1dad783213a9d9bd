#include "parser/runtime/arithmetic_statements.h"

#include <optional>

#include "parser/language/statement_table.h"
#include "parser/runtime/operators.h"

namespace portprobe::parser {

namespace {

// The operator code of each compound assignment code 2..5 ("+=", "-=", "*=", "/=").
int AssignmentOperator(int assignmentCode) { return assignmentCode - 2; }

std::optional<Word> AssignedValue(Variables& variables, const Words& words) {
  switch (words.size()) {
    case 3:
      return variables.OperandValue(words[2]);
    case 5: {
      const Word a = variables.OperandValue(words[2]);
      const Word b = variables.OperandValue(words[4]);
      return BinaryOperation(OperatorCode(words[3]), a, b);
    }
    default:  // four words: x W & v
      return variables.ElementAddress(words[3]);
  }
}

}  // namespace

StepResult OperatorStatement(Variables& variables, const Words& words, std::uint16_t code) {
  if (words.size() != 3 && words.size() != 4) return kOperatorWordCount;
  const Word y = variables.OperandValue(words[2]);
  const std::optional<Word> value = words.size() == 4
                                        ? BinaryOperation(code, y, variables.OperandValue(words[3]))
                                        : BinaryOperation(code, variables.GetValue(words[1]), y);
  if (!value) return kDivisionByZero;
  return variables.SetValue(words[1], *value) >= 0 ? kNext : kOperatorStoreFailed;
}

StepResult StepStatement(Variables& variables, const Words& words, std::uint16_t code) {
  if (words.size() != 2) return kStepWordCount;
  const Word value = UnaryOperation(code, variables.GetValue(words[1]));
  return variables.SetValue(words[1], value) >= 0 ? kNext : kStepStoreFailed;
}

StepResult AssignStatement(Variables& variables, const Words& words, int code) {
  if (code == 0) code = AssignmentCode(words[1]);
  if (code < 1) return kBadAssignmentWord;
  if (words.size() < 3 || words.size() > 5) return kAssignmentWordCount;
  if (words.size() == 4 && words[2] != "&") return kAddressWithoutAmpersand;
  const Word target = variables.OperandValue(words[0]);
  const std::optional<Word> assigned = AssignedValue(variables, words);
  if (!assigned) return kDivisionByZero;
  const std::optional<Word> value = code == 1 ? assigned : BinaryOperation(AssignmentOperator(code), target, *assigned);
  if (!value) return kDivisionByZero;
  return variables.SetValue(words[0], *value) >= 0 ? kNext : kAssignmentStoreFailed;
}

}  // namespace portprobe::parser
