#pragma once

#include <cstdint>

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"
#include "parser/runtime/variables.h"

namespace portprobe::parser {

class Interpreter;

// "W x y" (x = x OP y) and "W x y z" (x = y OP z), W being an operator statement word
// and the argument its Operator.
StepResult OperatorStatement(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "W x": x = UnaryOperation(op, x), stored with x's width; the argument is the
// StepOperation.
StepResult StepStatement(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "x W y", "x W a OP b" and "x W & v", W an assignment word; with code 0 the code is
// taken from W. The target is read first in every form.
StepResult AssignStatement(Variables& variables, const Words& words, int code);

}  // namespace portprobe::parser
