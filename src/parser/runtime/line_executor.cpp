#include "parser/runtime/line_executor.h"

#include <optional>

#include "parser/runtime/statement_table.h"
#include "parser/runtime/arithmetic_statements.h"
#include "parser/runtime/declarations.h"
#include "parser/runtime/interpreter.h"

namespace portprobe::parser {

namespace {

// Runs the statement of word 0, or calls the function of that name.
StepResult DispatchStatement(Interpreter& interpreter, const Words& words) {
  if (const StatementRow* row = FindStatement(words[0])) return row->handler(interpreter, words, row->argument);
  if (const FunctionRecord* function = interpreter.FindFunction(words[0])) return interpreter.CallFunction(*function);
  return StepResult::Error(kUnknownStatement);
}

// An assignment, a statement or a call.
StepResult ExecuteStatement(Interpreter& interpreter, const Words& words) {
  if (words.size() >= 2) {
    if (const int code = AssignmentCode(words[1]); code != 0) {
      return AssignStatement(interpreter.variables(), words, code);
    }
  }
  return DispatchStatement(interpreter, words);
}

}  // namespace

StepResult ExecuteLine(Interpreter& interpreter, const LineWords& words) {
  Variables& variables = interpreter.variables();
  variables.ClearParserError();
  if (words.asWritten.empty()) return StepResult::Next();
  // A declaration is tried first, on the words as written, even when its index words
  // could not be joined.
  if (const std::optional<StepResult> declared = DeclarationStatement(variables, words.asWritten)) return *declared;
  if (words.join == IndexJoin::kUnpaired) return StepResult::Error(kIndexBracketsUnpaired);
  if (words.join == IndexJoin::kNotJoined) return StepResult::Error(kIndexBracketsNotJoined);
  return ExecuteStatement(interpreter, words.ForStatements());
}

}  // namespace portprobe::parser
