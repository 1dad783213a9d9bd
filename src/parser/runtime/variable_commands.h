#pragma once

#include <cstdint>

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"

namespace portprobe::parser {

class Interpreter;

// Statement table handlers; neither reads the row's argument.

// "set name value", or "set name offset width" to store a value read from the frame.
StepResult SetCommand(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "deletevar name": removes the first variable of that name, if any.
StepResult DeleteVarCommand(Interpreter& interpreter, const Words& words, std::uint16_t argument);

}  // namespace portprobe::parser
