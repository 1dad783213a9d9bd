#include "parser/runtime/variable_commands.h"

#include "parser/runtime/interpreter.h"
#include "parser/runtime/literals.h"

namespace portprobe::parser {

StepResult SetCommand(Interpreter& interpreter, const Words& words, std::uint16_t) {
  if (words.size() < 3) return StepResult::Next();
  Variables& variables = interpreter.variables();
  if (words.size() == 3) {
    const ScriptValue value = variables.OperandValue(words[2]);
    return variables.SetValue(words[1], value) >= 0 ? StepResult::Next() : StepResult::Error(kSetStoreFailed);
  }
  // The offset is a number literal only; the width may be any operand.
  const ScriptValue offset = ParseNumber(words[2]);
  const ScriptValue width = variables.OperandValue(words[3]);
  const ScriptValue value = ReadFrameValue(interpreter.frame(), offset, width);
  return variables.SetValue(words[1], value) >= 0 ? StepResult::Next() : StepResult::Error(kSetFromFrameStoreFailed);
}

StepResult DeleteVarCommand(Interpreter& interpreter, const Words& words, std::uint16_t) {
  if (words.size() >= 2) interpreter.variables().DeleteVariable(words[1]);
  return StepResult::Next();
}

}  // namespace portprobe::parser
