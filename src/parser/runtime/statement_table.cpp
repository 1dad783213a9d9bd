#include "parser/runtime/statement_table.h"

#include "parser/language/ascii.h"
#include "parser/runtime/arithmetic_statements.h"
#include "parser/runtime/control_statements.h"
#include "parser/runtime/print_commands.h"
#include "parser/runtime/string_commands.h"
#include "parser/runtime/variable_commands.h"

namespace portprobe::parser {

namespace {

constexpr std::uint16_t Arg(Operator op) { return static_cast<std::uint16_t>(op); }
constexpr std::uint16_t Arg(StepOperation op) { return static_cast<std::uint16_t>(op); }

using enum Operator;
using enum StepOperation;

// Searched from the top; the order is part of the language, since the first match wins.
// A built-in command is one row here plus its handler.
constexpr StatementRow kStatementTable[] = {
    {"echo", EchoCommand, 0},
    {"exit", ExitStatement, 0},
    {"goto", GotoStatement, 0},
    {"if", IfStatement, 0},
    {"while", WhileStatement, 0},
    {"for", ForStatement, 0},
    {"set", SetCommand, 0},
    {"=", SetCommand, 0},
    {"allocstr", AllocStrCommand, 0},
    {"setstr", SetStrCommand, 0},
    {"printstr", PrintStrCommand, 0},
    {"printvar", PrintCommand, 0},
    {"print", PrintCommand, 0},
    {"pv", PrintCommand, 0},
    {"listvar", ListVarCommand, 0},
    {"lv", ListVarCommand, 0},
    {"deletevar", DeleteVarCommand, 0},
    {"dv", DeleteVarCommand, 0},
    {"add", OperatorStatement, Arg(kAdd)},
    {"sub", OperatorStatement, Arg(kSubtract)},
    {"mul", OperatorStatement, Arg(kMultiply)},
    {"div", OperatorStatement, Arg(kDivide)},
    {"and", OperatorStatement, Arg(kBitAnd)},
    {"or", OperatorStatement, Arg(kBitOr)},
    {"xor", OperatorStatement, Arg(kBitXor)},
    {"and2", OperatorStatement, Arg(kLogicalAnd)},
    {"or2", OperatorStatement, Arg(kLogicalOr)},
    {"eq", OperatorStatement, Arg(kEqual)},
    {"less", OperatorStatement, Arg(kLess)},
    {"more", OperatorStatement, Arg(kGreater)},
    {"le", OperatorStatement, Arg(kLessOrEqual)},
    {"me", OperatorStatement, Arg(kGreaterOrEqual)},
    {"ne", OperatorStatement, Arg(kNotEqual)},
    {"+", OperatorStatement, Arg(kAdd)},
    {"-", OperatorStatement, Arg(kSubtract)},
    {"*", OperatorStatement, Arg(kMultiply)},
    {"/", OperatorStatement, Arg(kDivide)},
    {"&", OperatorStatement, Arg(kBitAnd)},
    {"|", OperatorStatement, Arg(kBitOr)},
    {"^", OperatorStatement, Arg(kBitXor)},
    {"&&", OperatorStatement, Arg(kLogicalAnd)},
    {"||", OperatorStatement, Arg(kLogicalOr)},
    {"==", OperatorStatement, Arg(kEqual)},
    {"<", OperatorStatement, Arg(kLess)},
    {">", OperatorStatement, Arg(kGreater)},
    {"<=", OperatorStatement, Arg(kLessOrEqual)},
    {">=", OperatorStatement, Arg(kGreaterOrEqual)},
    {"!=", OperatorStatement, Arg(kNotEqual)},
    {"++", StepStatement, Arg(kIncrement)},
    {"--", StepStatement, Arg(kDecrement)},
    {"~", StepStatement, Arg(kComplement)},
    {"inc", StepStatement, Arg(kIncrement)},
    {"dec", StepStatement, Arg(kDecrement)},
    {"reverse", StepStatement, Arg(kComplement)},
};

struct AssignmentRow {
  std::string_view word;
  int code;
};

constexpr AssignmentRow kAssignmentTable[] = {{"=", 1}, {"+=", 2}, {"-=", 3}, {"*=", 4}, {"/=", 5}};

}  // namespace

const StatementRow* FindStatement(std::string_view word) {
  for (const StatementRow& row : kStatementTable) {
    if (EqualsIgnoreCase(row.word, word)) return &row;
  }
  return nullptr;
}

std::optional<Operator> OperatorOf(std::string_view word) {
  const StatementRow* row = FindStatement(word);
  if (row == nullptr) return std::nullopt;
  return static_cast<Operator>(row->argument);
}

int AssignmentCode(std::string_view word) {
  for (const AssignmentRow& row : kAssignmentTable) {
    if (EqualsIgnoreCase(row.word, word)) return row.code;
  }
  return 0;
}

}  // namespace portprobe::parser
