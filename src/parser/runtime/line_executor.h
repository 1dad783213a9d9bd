#pragma once

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"

namespace portprobe::parser {

class Interpreter;

// Runs a line's words as a declaration, an assignment, a statement word or a function
// call.
StepResult ExecuteLine(Interpreter& interpreter, const Words& words);

}  // namespace portprobe::parser
