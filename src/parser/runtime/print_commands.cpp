#include "parser/runtime/print_commands.h"

#include <cstdint>
#include <string>

#include "parser/language/ascii.h"
#include "parser/runtime/interpreter.h"
#include "parser/runtime/literals.h"
#include "parser/runtime/text_format.h"

namespace portprobe::parser {

namespace {

long Signed(ScriptValue value) { return static_cast<std::int32_t>(value); }
unsigned long Unsigned(ScriptValue value) { return value; }

// A "char *" variable or element, or a char array named whole, prints as the text that
// its value addresses.
bool PrintsAsText(TypeWord type, bool hasIndex) {
  const TypeCode code = CodeOf(type);
  if (code == kCharPointerCode) return true;
  return (code & ~kPointerFlag) == kCharCode && IsArray(type) && !hasIndex;
}

std::string FormatVariable(ScriptValue format, const std::string& name, ScriptValue value) {
  switch (format) {
    case 1:
      return FormatText("%s:0x%lx ", name.c_str(), Unsigned(value));
    case 2:
      return FormatText("%s:%ld 0x%lx ", name.c_str(), Signed(value), Unsigned(value));
    default:
      return FormatText("%s:%ld ", name.c_str(), Signed(value));
  }
}

}  // namespace

StepResult EchoCommand(Interpreter& interpreter, const Words& words, std::uint16_t) {
  Variables& variables = interpreter.variables();
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (StartsWithQuote(word) || StartsWithDigit(word)) {
      interpreter.Print(StripQuotes(word));
      continue;
    }
    const int slot = variables.FindVariable(word);
    if (slot < 0) return StepResult::Error(kEchoVariableMissing);
    const TypeWord type = variables.store().Record(slot).type;
    // The index is evaluated here as well, with its effects (a quoted index pools a text).
    const bool hasIndex = variables.WordIndex(word).has_value();
    const ScriptValue value = variables.GetValue(word);
    if (PrintsAsText(type, hasIndex)) {
      interpreter.Print(variables.TextAt(value));
    } else {
      interpreter.Print(FormatText("%d", static_cast<std::int32_t>(value)));
    }
  }
  return StepResult::Next();
}

StepResult PrintCommand(Interpreter& interpreter, const Words& words, std::uint16_t) {
  if (words.size() < 2) return StepResult::Next();
  Variables& variables = interpreter.variables();
  const ScriptValue value = variables.GetValue(words[1]);
  const bool hasFormat = words.size() > 2 && StartsWithDigit(words[2]);
  const ScriptValue format = hasFormat ? variables.OperandValue(words[2]) : 0;
  interpreter.Print(FormatVariable(format, words[1], value));
  for (std::size_t i = hasFormat ? 3 : 2; i < words.size(); ++i) interpreter.Print(StripQuotes(words[i]));
  return StepResult::Next();
}

StepResult ListVarCommand(Interpreter& interpreter, const Words&, std::uint16_t) {
  const VariableStore& store = interpreter.variables().store();
  interpreter.Print("---------ListVariant--------");
  for (int slot = 0; slot < store.UsedCount(); ++slot) {
    const ScriptValue value = store.Value(slot);
    const char* name = store.Record(slot).name.c_str();
    interpreter.Print(FormatText("var <%s> = %lx %ld", name, Unsigned(value), Signed(value)));
  }
  interpreter.Print(FormatText("---------total %d--------", store.UsedCount()));
  return StepResult::Next();
}

}  // namespace portprobe::parser
