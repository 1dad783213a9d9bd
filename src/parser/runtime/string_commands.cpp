#include "parser/runtime/string_commands.h"

#include "parser/language/ascii.h"
#include "parser/runtime/interpreter.h"
#include "parser/runtime/literals.h"

namespace portprobe::parser {

StepResult AllocStrCommand(Variables& variables, const Words& words) {
  if (words.size() != 3) return kAllocStrWordCount;
  const Word count = variables.OperandValue(words[2]);
  return variables.AllocateStringArray(words[1], count) ? kNext : kAllocStrFailed;
}

StepResult SetStrCommand(Variables& variables, const Words& words) {
  if (words.size() <= 3) return kNext;
  Word index = variables.OperandValue(words[2]);
  if (IsNegative(index)) return kNext;
  for (std::size_t i = 3; i < words.size(); ++i, ++index) {
    if (!variables.SetStringElement(words[1], index, StripQuotes(words[i]))) return kSetStrFailed;
  }
  return kNext;
}

StepResult PrintStrCommand(Interpreter& interpreter, const Words& words) {
  Variables& variables = interpreter.variables();
  for (std::size_t i = 2; i < words.size(); ++i) {
    if (StartsWithQuote(words[i])) {
      interpreter.Print(StripQuotes(words[i]));
      continue;
    }
    const Word index = variables.OperandValue(words[i]);
    if (IsNegative(index)) return kNext;
    const Word text = variables.GetStringElement(words[1], index);
    if (text == 0) return kPrintStrNoElement;
    interpreter.Print(variables.TextAt(text));
  }
  return kNext;
}

}  // namespace portprobe::parser
