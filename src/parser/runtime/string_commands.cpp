#include "parser/runtime/string_commands.h"

#include "parser/language/ascii.h"
#include "parser/runtime/interpreter.h"
#include "parser/runtime/literals.h"

namespace portprobe::parser {

StepResult AllocStrCommand(Interpreter& interpreter, const Words& words, std::uint16_t) {
  if (words.size() != 3) return StepResult::Error(kAllocStrWordCount);
  Variables& variables = interpreter.variables();
  const ScriptValue count = variables.OperandValue(words[2]);
  return variables.AllocateStringArray(words[1], count) ? StepResult::Next() : StepResult::Error(kAllocStrFailed);
}

StepResult SetStrCommand(Interpreter& interpreter, const Words& words, std::uint16_t) {
  if (words.size() <= 3) return StepResult::Next();
  Variables& variables = interpreter.variables();
  ScriptValue index = variables.OperandValue(words[2]);
  if (IsNegative(index)) return StepResult::Next();
  for (std::size_t i = 3; i < words.size(); ++i, ++index) {
    if (!variables.SetStringElement(words[1], index, StripQuotes(words[i]))) return StepResult::Error(kSetStrFailed);
  }
  return StepResult::Next();
}

StepResult PrintStrCommand(Interpreter& interpreter, const Words& words, std::uint16_t) {
  Variables& variables = interpreter.variables();
  for (std::size_t i = 2; i < words.size(); ++i) {
    if (StartsWithQuote(words[i])) {
      interpreter.Print(StripQuotes(words[i]));
      continue;
    }
    const ScriptValue index = variables.OperandValue(words[i]);
    if (IsNegative(index)) return StepResult::Next();
    const ScriptValue text = variables.GetStringElement(words[1], index);
    if (text == 0) return StepResult::Error(kPrintStrNoElement);
    interpreter.Print(variables.TextAt(text));
  }
  return StepResult::Next();
}

}  // namespace portprobe::parser
