#pragma once

#include "parser/language/script_preparation.h"
#include "parser/runtime/result_codes.h"

namespace portprobe::parser {

class Interpreter;

// Runs a line's words as a declaration, an assignment, a statement word or a function
// call.
StepResult ExecuteLine(Interpreter& interpreter, const LineWords& words);

}  // namespace portprobe::parser
