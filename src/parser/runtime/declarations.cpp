#include "parser/runtime/declarations.h"

#include "parser/language/ascii.h"
#include "parser/runtime/literals.h"

namespace portprobe::parser {

namespace {

std::string JoinWithBlanks(const Words& words, std::size_t count) {
  std::string joined;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) joined += ' ';
    joined += words[i];
  }
  return joined;
}

// A quoted item is its own text; a visible "char *" variable gives the text it points
// to; any other item stores its own text. The lookup may miss, so it sets no error.
std::string InitializerText(Variables& variables, const std::string& item) {
  if (StartsWithQuote(item)) return std::string(StripQuotes(item));
  VariableStore& store = variables.store();
  const int slot = store.FindVisible(item);
  if (slot >= 0 && CodeOf(store.Record(slot).type) == kCharPointerCode) return variables.TextAt(store.Value(slot));
  return item;
}

}  // namespace

std::optional<Declaration> ParseDeclaration(Variables& variables, const Words& words) {
  const std::size_t count = words.size();
  if (count < 2) return std::nullopt;
  Declaration declaration;
  ScriptValue elementCount = 0;
  const int bracket = PositionOfWord(words, "[");
  if (bracket < 0) {
    const bool initialized = count >= 4 && words[count - 2] == "=";
    declaration.nameIndex = initialized ? count - 3 : count - 1;
    if (initialized) declaration.initial = variables.OperandValue(words[count - 1]);
  } else {
    const auto open = static_cast<std::size_t>(bracket);
    if (open < 2 || open + 2 >= count || words[open + 2] != "]") return std::nullopt;
    declaration.nameIndex = open - 1;
    elementCount = variables.OperandValue(words[open + 1]);
  }
  const TypeCode code = FindTypeCode(JoinWithBlanks(words, declaration.nameIndex));
  if (code == 0) return std::nullopt;
  declaration.type = MakeTypeWord(code, elementCount);
  return declaration;
}

StepResult FillInitializers(Variables& variables, std::string_view name, TypeWord type,
                            std::span<const std::string> items) {
  for (std::size_t k = 0; k < items.size(); ++k) {
    const auto index = static_cast<ScriptValue>(k);
    if (CodeOf(type) == kCharPointerCode) {
      if (!variables.SetStringElement(name, index, InitializerText(variables, items[k]))) {
        return StepResult::Error(kInitializerTextNotStored);
      }
    } else if (variables.SetElement(name, index, ParseNumber(StripQuotes(items[k]))) < 0) {
      return StepResult::Error(kInitializerNumberNotStored);
    }
  }
  return StepResult::Next();
}

std::optional<StepResult> DeclarationStatement(Variables& variables, const Words& words) {
  const std::optional<Declaration> declaration = ParseDeclaration(variables, words);
  if (!declaration) return std::nullopt;
  const std::string& name = words[declaration->nameIndex];
  const StepResult declared = variables.DeclareVariable(name, declaration->type, declaration->initial);
  if (!declared.IsNext()) return declared;
  // The items stand between the first "{" and the first "}" (a missing brace counts as
  // position -1, as the list has always been read).
  const int open = PositionOfWord(words, "{");
  const int close = PositionOfWord(words, "}");
  if (close <= open + 1) return declared;
  const std::span<const std::string> items(words.begin() + (open + 1), words.begin() + close);
  return FillInitializers(variables, name, declaration->type, items);
}

}  // namespace portprobe::parser
