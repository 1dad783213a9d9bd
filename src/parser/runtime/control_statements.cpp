#include "parser/runtime/control_statements.h"

#include <optional>

#include "parser/language/ascii.h"
#include "parser/language/labels.h"
#include "parser/runtime/arithmetic_statements.h"
#include "parser/runtime/interpreter.h"
#include "parser/runtime/operators.h"

namespace portprobe::parser {

namespace {

// The value of "W c" (one operand) or "W a V b" (a three-word condition); none on a
// division by zero.
std::optional<ScriptValue> ConditionValue(Variables& variables, const Words& words, bool singleOperand) {
  if (singleOperand) return variables.OperandValue(words[1]);
  return EvaluateCondition(variables, words[1], words[2], words[3]);
}

StepResult ConditionResult(std::optional<ScriptValue> condition, StepResult whenTrue, StepResult whenFalse) {
  if (!condition) return StepResult::Error(kDivisionByZero);
  return *condition != 0 ? whenTrue : whenFalse;
}

StepResult ForStep(Variables& variables, const Words& words) {
  if (words.size() == 10) return AssignStatement(variables, {words[7], words[8], words[9]}, 0);
  const StepOperation op = EqualsIgnoreCase(words[8], "--") ? StepOperation::kDecrement : StepOperation::kIncrement;
  const ScriptValue value = UnaryOperation(op, variables.GetValue(words[7]));
  return variables.SetValue(words[7], value) >= 0 ? StepResult::Next() : StepResult::Error(kForStepStoreFailed);
}

}  // namespace

StepResult GotoStatement(Interpreter&, const Words& words, std::uint16_t) {
  return words.size() == 1 ? StepResult::Next() : StepResult::Jump(LabelCode(words[1], false));
}

StepResult IfStatement(Interpreter& interpreter, const Words& words, std::uint16_t) {
  const std::size_t count = words.size();
  const bool gotoForm = count >= 2 && EqualsIgnoreCase(words[count - 2], "goto");
  if (gotoForm && count != 4 && count != 6) return StepResult::Error(kIfGotoWordCount);
  if (count < 2 || count > 6) return StepResult::Error(kIfWordCount);
  const std::optional<ScriptValue> condition =
      ConditionValue(interpreter.variables(), words, count <= 3 || (gotoForm && count == 4));
  if (gotoForm) return ConditionResult(condition, StepResult::Jump(LabelCode(words.back(), false)), StepResult::Next());
  return ConditionResult(condition, StepResult::Next(), StepResult::Skip());
}

StepResult WhileStatement(Interpreter& interpreter, const Words& words, std::uint16_t) {
  if (words.size() != 2 && words.size() != 4) return StepResult::Error(kWhileWordCount);
  return ConditionResult(ConditionValue(interpreter.variables(), words, words.size() == 2),
                         StepResult::Loop(StepResult::LoopKind::kWhile), StepResult::Skip());
}

StepResult ForStatement(Interpreter& interpreter, const Words& words, std::uint16_t) {
  if (words.size() != 9 && words.size() != 10) return StepResult::Error(kForWordCount);
  Variables& variables = interpreter.variables();
  // Without a loop table (the global pass) the loop is always being entered.
  const LoopTable* loops = interpreter.CurrentLoops();
  const bool entering = loops == nullptr || loops->FindByHead(interpreter.CurrentStep()) < 0;
  const StepResult stepped =
      entering ? AssignStatement(variables, {words[1], words[2], words[3]}, 0) : ForStep(variables, words);
  if (!stepped.IsNext()) return stepped;
  return ConditionResult(EvaluateCondition(variables, words[4], words[5], words[6]),
                         StepResult::Loop(StepResult::LoopKind::kFor), StepResult::Skip());
}

StepResult ExitStatement(Interpreter& interpreter, const Words& words, std::uint16_t width) {
  if (words.size() != 3) return StepResult::Stop();
  Variables& variables = interpreter.variables();
  const ScriptValue offset = variables.OperandValue(words[1]);
  if (offset > interpreter.frame().bytes.size()) return StepResult::Next();
  const ScriptValue frameValue = ReadFrameValue(interpreter.frame(), offset, width);
  return frameValue == variables.OperandValue(words[2]) ? StepResult::Stop() : StepResult::Next();
}

}  // namespace portprobe::parser
