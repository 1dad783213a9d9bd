#pragma once

#include <string_view>

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"

namespace portprobe::parser {

class Interpreter;

// Splits a line into words and runs it as a declaration, an assignment, a statement
// word or a function call.
StepResult ExecuteLine(Interpreter& interpreter, std::string_view text);

// Joins the words first..last into one word ("buf", "[", "i", "]" into "buf[i]").
// False unless 0 <= first < last < count.
bool JoinIndexWords(Words& words, int first, int last);

// Runs the statement of word 0, or calls the function of that name.
StepResult DispatchStatement(Interpreter& interpreter, const Words& words);

}  // namespace portprobe::parser
