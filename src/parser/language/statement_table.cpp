#include "parser/language/statement_table.h"

#include <array>

#include "parser/language/ascii.h"

namespace portprobe::parser {

namespace {

using enum StatementKind;

// Searched from the top; the order is part of the language, since the first match wins.
constexpr std::array<StatementRow, 54> kStatementTable = {{
    {"echo", kEcho, 0},      {"exit", kExit, 0},         {"goto", kGoto, 0},        {"if", kIf, 0},
    {"while", kWhile, 0},    {"for", kFor, 0},           {"set", kSet, 0},          {"=", kSet, 0},
    {"allocstr", kAllocStr, 0}, {"setstr", kSetStr, 0},  {"printstr", kPrintStr, 0}, {"printvar", kPrint, 0},
    {"print", kPrint, 0},    {"pv", kPrint, 0},          {"listvar", kListVar, 0},  {"lv", kListVar, 0},
    {"deletevar", kDeleteVar, 0}, {"dv", kDeleteVar, 0},
    {"add", kOperator, 0},   {"sub", kOperator, 1},      {"mul", kOperator, 2},     {"div", kOperator, 3},
    {"and", kOperator, 4},   {"or", kOperator, 5},       {"xor", kOperator, 6},     {"and2", kOperator, 7},
    {"or2", kOperator, 8},   {"eq", kOperator, 9},       {"less", kOperator, 10},   {"more", kOperator, 11},
    {"le", kOperator, 12},   {"me", kOperator, 13},      {"ne", kOperator, 14},
    {"+", kOperator, 0},     {"-", kOperator, 1},        {"*", kOperator, 2},       {"/", kOperator, 3},
    {"&", kOperator, 4},     {"|", kOperator, 5},        {"^", kOperator, 6},       {"&&", kOperator, 7},
    {"||", kOperator, 8},    {"==", kOperator, 9},       {"<", kOperator, 10},      {">", kOperator, 11},
    {"<=", kOperator, 12},   {">=", kOperator, 13},      {"!=", kOperator, 14},
    {"++", kStep, 0},        {"--", kStep, 1},           {"~", kStep, 2},
    {"inc", kStep, 0},       {"dec", kStep, 1},          {"reverse", kStep, 2},
}};

struct AssignmentRow {
  std::string_view word;
  int code;
};

constexpr std::array<AssignmentRow, 5> kAssignmentTable = {{{"=", 1}, {"+=", 2}, {"-=", 3}, {"*=", 4}, {"/=", 5}}};

}  // namespace

const StatementRow* FindStatement(std::string_view word) {
  for (const StatementRow& row : kStatementTable) {
    if (EqualsIgnoreCase(row.word, word)) return &row;
  }
  return nullptr;
}

int OperatorCode(std::string_view word) {
  const StatementRow* row = FindStatement(word);
  return row == nullptr ? -1 : static_cast<int>(row->argument);
}

int AssignmentCode(std::string_view word) {
  for (const AssignmentRow& row : kAssignmentTable) {
    if (EqualsIgnoreCase(row.word, word)) return row.code;
  }
  return 0;
}

}  // namespace portprobe::parser
