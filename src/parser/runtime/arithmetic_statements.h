#pragma once

#include <cstdint>

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"
#include "parser/runtime/variables.h"

namespace portprobe::parser {

// "W x y" (x = x OP y) and "W x y z" (x = y OP z), W being an operator statement word.
StepResult OperatorStatement(Variables& variables, const Words& words, std::uint16_t code);

// "W x": x = UnaryOperation(code, x), stored with x's width.
StepResult StepStatement(Variables& variables, const Words& words, std::uint16_t code);

// "x W y", "x W a OP b" and "x W & v", W an assignment word; with code 0 the code is
// taken from W. The target is read first in every form.
StepResult AssignStatement(Variables& variables, const Words& words, int code);

}  // namespace portprobe::parser
