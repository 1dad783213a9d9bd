#include "parser/runtime/arithmetic_statements.h"

#include <optional>

#include "parser/runtime/statement_table.h"
#include "parser/runtime/interpreter.h"
#include "parser/runtime/operators.h"

namespace portprobe::parser {

namespace {

// The operator of each compound assignment code 2..5 ("+=", "-=", "*=", "/=").
Operator AssignmentOperator(int assignmentCode) { return static_cast<Operator>(assignmentCode - 2); }

std::optional<ScriptValue> AssignedValue(Variables& variables, const Words& words) {
  switch (words.size()) {
    case 3:
      return variables.OperandValue(words[2]);
    case 5: {
      const ScriptValue a = variables.OperandValue(words[2]);
      const ScriptValue b = variables.OperandValue(words[4]);
      return BinaryOperation(OperatorOf(words[3]), a, b);
    }
    default:  // four words: x W & v
      return variables.ElementAddress(words[3]);
  }
}

StepResult Stored(Variables& variables, std::string_view target, ScriptValue value, ResultCode failure) {
  return variables.SetValue(target, value) >= 0 ? StepResult::Next() : StepResult::Error(failure);
}

}  // namespace

StepResult OperatorStatement(Interpreter& interpreter, const Words& words, std::uint16_t argument) {
  if (words.size() != 3 && words.size() != 4) return StepResult::Error(kOperatorWordCount);
  Variables& variables = interpreter.variables();
  const auto op = static_cast<Operator>(argument);
  const ScriptValue y = variables.OperandValue(words[2]);
  const std::optional<ScriptValue> value = words.size() == 4 ? BinaryOperation(op, y, variables.OperandValue(words[3]))
                                                             : BinaryOperation(op, variables.GetValue(words[1]), y);
  if (!value) return StepResult::Error(kDivisionByZero);
  return Stored(variables, words[1], *value, kOperatorStoreFailed);
}

StepResult StepStatement(Interpreter& interpreter, const Words& words, std::uint16_t argument) {
  if (words.size() != 2) return StepResult::Error(kStepWordCount);
  Variables& variables = interpreter.variables();
  const ScriptValue value = UnaryOperation(static_cast<StepOperation>(argument), variables.GetValue(words[1]));
  return Stored(variables, words[1], value, kStepStoreFailed);
}

StepResult AssignStatement(Variables& variables, const Words& words, int code) {
  if (code == 0) code = AssignmentCode(words[1]);
  if (code < 1) return StepResult::Error(kBadAssignmentWord);
  if (words.size() < 3 || words.size() > 5) return StepResult::Error(kAssignmentWordCount);
  if (words.size() == 4 && words[2] != "&") return StepResult::Error(kAddressWithoutAmpersand);
  const ScriptValue target = variables.OperandValue(words[0]);
  const std::optional<ScriptValue> assigned = AssignedValue(variables, words);
  if (!assigned) return StepResult::Error(kDivisionByZero);
  const std::optional<ScriptValue> value =
      code == 1 ? assigned : BinaryOperation(AssignmentOperator(code), target, *assigned);
  if (!value) return StepResult::Error(kDivisionByZero);
  return Stored(variables, words[0], *value, kAssignmentStoreFailed);
}

}  // namespace portprobe::parser
