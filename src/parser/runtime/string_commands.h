#pragma once

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"
#include "parser/runtime/variables.h"

namespace portprobe::parser {

class Interpreter;

// "allocstr name count": an array of count text addresses.
StepResult AllocStrCommand(Variables& variables, const Words& words);

// "setstr name index text ...": stores copies of the texts from element index on.
StepResult SetStrCommand(Variables& variables, const Words& words);

// "printstr name item ...": quoted items as written, other items as element indexes
// whose texts are printed.
StepResult PrintStrCommand(Interpreter& interpreter, const Words& words);

}  // namespace portprobe::parser
