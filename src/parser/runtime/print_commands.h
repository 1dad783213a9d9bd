#pragma once

#include <cstdint>

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"

namespace portprobe::parser {

class Interpreter;

// Statement table handlers; none of them reads the row's argument.

// "echo item ...": quoted texts and numbers as written, variables as text or number.
StepResult EchoCommand(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "print name [format] [text ...]": the name and value in format 0 (decimal), 1 (hex)
// or 2 (both), then the texts as written.
StepResult PrintCommand(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "listvar": every variable of the store, callers' hidden ones included, on one line.
StepResult ListVarCommand(Interpreter& interpreter, const Words& words, std::uint16_t argument);

}  // namespace portprobe::parser
