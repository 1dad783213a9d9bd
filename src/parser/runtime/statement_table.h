#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "parser/language/operations.h"
#include "parser/language/words.h"

namespace portprobe::parser {

class Interpreter;
class StepResult;

// What every statement row leads to: the running interpreter, the line's words (the
// statement word first) and the row's argument.
using StatementHandler = StepResult (*)(Interpreter& interpreter, const Words& words, std::uint16_t argument);

struct StatementRow {
  std::string_view word;
  StatementHandler handler;
  std::uint16_t argument;  // an Operator, a StepOperation or 0
};

// The first statement row whose word equals the word without regard to case, or nullptr.
const StatementRow* FindStatement(std::string_view word);

// The operator that a middle word of "a OP b" selects: the argument of the first
// statement row with that word, whatever the row's handler; none when no row has it.
std::optional<Operator> OperatorOf(std::string_view word);

// 1 for "=", 2 "+=", 3 "-=", 4 "*=", 5 "/="; 0 for any other word.
int AssignmentCode(std::string_view word);

}  // namespace portprobe::parser
