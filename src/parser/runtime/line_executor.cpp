#include "parser/runtime/line_executor.h"

#include <optional>

#include "parser/language/statement_table.h"
#include "parser/runtime/arithmetic_statements.h"
#include "parser/runtime/control_statements.h"
#include "parser/runtime/declarations.h"
#include "parser/runtime/interpreter.h"
#include "parser/runtime/print_commands.h"
#include "parser/runtime/string_commands.h"
#include "parser/runtime/variable_commands.h"

namespace portprobe::parser {

namespace {

// Joins every "name [ index ]" into one word, leftmost "[" first.
StepResult JoinAllIndexWords(Words& words) {
  for (int open = PositionOfWord(words, "["); open >= 0; open = PositionOfWord(words, "[")) {
    const int name = open - 1;
    const int close = PositionOfWord(words, "]");
    if (name < 0 || close < name) return kIndexBracketsUnpaired;
    if (!JoinIndexWords(words, name, close)) return kIndexBracketsNotJoined;
  }
  return kNext;
}

StepResult RunStatement(const StatementRow& row, Interpreter& interpreter, const Words& words) {
  const auto code = static_cast<std::uint16_t>(row.argument & 0xFFFFu);
  Variables& variables = interpreter.variables();
  switch (row.kind) {
    case StatementKind::kEcho: return EchoCommand(interpreter, words);
    case StatementKind::kExit: return ExitStatement(interpreter, words, code);
    case StatementKind::kGoto: return GotoStatement(words);
    case StatementKind::kIf: return IfStatement(variables, words);
    case StatementKind::kWhile: return WhileStatement(variables, words);
    case StatementKind::kFor: return ForStatement(interpreter, words);
    case StatementKind::kSet: return SetCommand(interpreter, words);
    case StatementKind::kAllocStr: return AllocStrCommand(variables, words);
    case StatementKind::kSetStr: return SetStrCommand(variables, words);
    case StatementKind::kPrintStr: return PrintStrCommand(interpreter, words);
    case StatementKind::kPrint: return PrintCommand(interpreter, words);
    case StatementKind::kListVar: return ListVarCommand(interpreter);
    case StatementKind::kDeleteVar: return DeleteVarCommand(variables, words);
    case StatementKind::kOperator: return OperatorStatement(variables, words, code);
    case StatementKind::kStep: return StepStatement(variables, words, code);
  }
  return kUnknownStatement;
}

}  // namespace

StepResult ExecuteLine(Interpreter& interpreter, std::string_view text) {
  Variables& variables = interpreter.variables();
  variables.ClearParserError();
  Words words = SplitWords(text);
  if (words.empty()) return kNext;
  if (const std::optional<StepResult> declared = DeclarationStatement(variables, words)) return *declared;
  if (const StepResult joined = JoinAllIndexWords(words); joined != kNext) return joined;
  if (words.size() >= 2) {
    if (const int code = AssignmentCode(words[1]); code != 0) return AssignStatement(variables, words, code);
  }
  return DispatchStatement(interpreter, words);
}

bool JoinIndexWords(Words& words, int first, int last) {
  if (first < 0 || first >= last || static_cast<std::size_t>(last) >= words.size()) return false;
  for (int i = first + 1; i <= last; ++i) words[first] += words[i];
  words.erase(words.begin() + first + 1, words.begin() + last + 1);
  return true;
}

StepResult DispatchStatement(Interpreter& interpreter, const Words& words) {
  if (const StatementRow* row = FindStatement(words[0])) return RunStatement(*row, interpreter, words);
  if (const FunctionRecord* function = interpreter.FindFunction(words[0])) return interpreter.CallFunction(*function);
  return kUnknownStatement;
}

}  // namespace portprobe::parser
