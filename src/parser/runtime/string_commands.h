#pragma once

#include <cstdint>

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"

namespace portprobe::parser {

class Interpreter;

// Statement table handlers; none of them reads the row's argument.

// "allocstr name count": an array of count text addresses.
StepResult AllocStrCommand(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "setstr name index text ...": stores copies of the texts from element index on.
StepResult SetStrCommand(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "printstr name item ...": quoted items as written, other items as element indexes
// whose texts are printed.
StepResult PrintStrCommand(Interpreter& interpreter, const Words& words, std::uint16_t argument);

}  // namespace portprobe::parser
