#pragma once

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"
#include "parser/runtime/variables.h"

namespace portprobe::parser {

class Interpreter;

// "set name value", or "set name offset width" to store a value read from the frame.
StepResult SetCommand(Interpreter& interpreter, const Words& words);

// "deletevar name": removes the first variable of that name, if any.
StepResult DeleteVarCommand(Variables& variables, const Words& words);

}  // namespace portprobe::parser
