#pragma once

#include <cstdint>
#include <string_view>

namespace portprobe::parser {

// Which handler a statement word leads to.
enum class StatementKind {
  kEcho,
  kExit,
  kGoto,
  kIf,
  kWhile,
  kFor,
  kSet,
  kAllocStr,
  kSetStr,
  kPrintStr,
  kPrint,
  kListVar,
  kDeleteVar,
  kOperator,  // two-operand arithmetic: add x y, + x a b
  kStep,      // increment, decrement, complement: ++ x, dec x, ~ x
};

struct StatementRow {
  std::string_view word;
  StatementKind kind;
  std::uint32_t argument;  // operator or step code; the low half is what handlers use
};

// The first of the 54 statement rows whose word equals the word without regard to
// case, or nullptr.
const StatementRow* FindStatement(std::string_view word);

// The operator code that a middle word of "a OP b" selects: the argument of the first
// statement row with that word, or -1 when no row has it.
int OperatorCode(std::string_view word);

// 1 for "=", 2 "+=", 3 "-=", 4 "*=", 5 "/="; 0 for any other word.
int AssignmentCode(std::string_view word);

}  // namespace portprobe::parser
