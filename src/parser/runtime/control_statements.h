#pragma once

#include <cstdint>

#include "parser/language/words.h"
#include "parser/runtime/result_codes.h"

namespace portprobe::parser {

class Interpreter;

// The statements that steer the run loop. Each is a statement table handler; only
// "exit" reads the row's argument.

// "goto L": the code of label L, which the run loop jumps to; "goto" alone does nothing.
StepResult GotoStatement(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "if c", "if a W b" (then the next statement runs, or is skipped), "if c goto L" and
// "if a W b goto L" (then a jump, or the next line).
StepResult IfStatement(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "while c" or "while a W b": enter the body, or skip it.
StepResult WhileStatement(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "for x W y a V b x ++" (9 words) or "for x W y a V b x W z" (10 words): the init part
// runs when the loop is entered, the step part each time its body has ended.
StepResult ForStatement(Interpreter& interpreter, const Words& words, std::uint16_t argument);

// "exit" ends the script; "exit n v" ends it when n is within the frame and the frame
// value of the row's width (0, so always 0) at n equals v.
StepResult ExitStatement(Interpreter& interpreter, const Words& words, std::uint16_t width);

}  // namespace portprobe::parser
