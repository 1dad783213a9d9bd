#include "parser/runtime/line_executor.h"

#include <optional>

#include "parser/language/statement_table.h"
#include "parser/runtime/arithmetic_statements.h"
#include "parser/runtime/declarations.h"
#include "parser/runtime/interpreter.h"

namespace portprobe::parser {

namespace {

// Joins the words first..last into one word ("buf", "[", "i", "]" into "buf[i]").
// False unless 0 <= first < last < count.
bool JoinIndexWords(Words& words, int first, int last) {
  if (first < 0 || first >= last || static_cast<std::size_t>(last) >= words.size()) return false;
  for (int i = first + 1; i <= last; ++i) words[first] += words[i];
  words.erase(words.begin() + first + 1, words.begin() + last + 1);
  return true;
}

// Joins every "name [ index ]" into one word, leftmost "[" first.
StepResult JoinAllIndexWords(Words& words) {
  for (int open = PositionOfWord(words, "["); open >= 0; open = PositionOfWord(words, "[")) {
    const int name = open - 1;
    const int close = PositionOfWord(words, "]");
    if (name < 0 || close < name) return StepResult::Error(kIndexBracketsUnpaired);
    if (!JoinIndexWords(words, name, close)) return StepResult::Error(kIndexBracketsNotJoined);
  }
  return StepResult::Next();
}

// Runs the statement of word 0, or calls the function of that name.
StepResult DispatchStatement(Interpreter& interpreter, const Words& words) {
  if (const StatementRow* row = FindStatement(words[0])) return row->handler(interpreter, words, row->argument);
  if (const FunctionRecord* function = interpreter.FindFunction(words[0])) return interpreter.CallFunction(*function);
  return StepResult::Error(kUnknownStatement);
}

// An assignment, a statement or a call, its index words joined.
StepResult ExecuteStatement(Interpreter& interpreter, const Words& words) {
  if (words.size() >= 2) {
    if (const int code = AssignmentCode(words[1]); code != 0) {
      return AssignStatement(interpreter.variables(), words, code);
    }
  }
  return DispatchStatement(interpreter, words);
}

}  // namespace

StepResult ExecuteLine(Interpreter& interpreter, const Words& words) {
  Variables& variables = interpreter.variables();
  variables.ClearParserError();
  if (words.empty()) return StepResult::Next();
  if (const std::optional<StepResult> declared = DeclarationStatement(variables, words)) return *declared;
  // Declarations read "name [ count ]" apart; every other statement reads "name[index]"
  // as one word, so only lines with brackets need a joined copy of their words.
  if (PositionOfWord(words, "[") < 0) return ExecuteStatement(interpreter, words);
  Words joined = words;
  if (const StepResult result = JoinAllIndexWords(joined); !result.IsNext()) return result;
  return ExecuteStatement(interpreter, joined);
}

}  // namespace portprobe::parser
