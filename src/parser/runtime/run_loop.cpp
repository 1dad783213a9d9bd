#include "parser/runtime/interpreter.h"

#include "parser/language/blocks.h"
#include "parser/language/labels.h"
#include "parser/runtime/line_executor.h"
#include "parser/runtime/text_format.h"

namespace portprobe::parser {

namespace {

// The head of the loop whose body ends at the line, else the next line.
int LoopBackOrNext(LoopTable& loops, int line) {
  const int head = loops.LoopBack(line);
  return head >= 0 ? head : line + 1;
}

}  // namespace

StepResult Interpreter::RunGlobalPass() {
  StepResult result = StepResult::Next();
  for (std::size_t line = 0; line < script_.lines.size() && result.IsNext(); ++line) {
    currentStep_ = static_cast<int>(line);
    if (IsInsideFunction(currentStep_) || !IsExecutableLine(script_.lines[line].text)) continue;
    result = ExecuteCountedLine(currentStep_);
  }
  // The failed lookups of global lines only have the effect that their statement gives them.
  store_.SetGlobalCount(store_.UsedCount());
  if (banners_) TraceValue("gi_globalVarCnt", static_cast<ScriptValue>(store_.GlobalCount()));
  return result;
}

void Interpreter::TraceValue(const char* name, ScriptValue value) {
  Print(FormatText("\r\n%s:0x%lx %ld\r\n", name, static_cast<unsigned long>(value),
                   static_cast<long>(static_cast<std::int32_t>(value))));
}

// From a function's header line to its body's closing line.
bool Interpreter::IsInsideFunction(int line) const {
  for (const FunctionRecord& function : script_.functions) {
    if (line >= function.bodyStart - 1 && line <= function.bodyEnd) return true;
  }
  return false;
}

StepResult Interpreter::CallFunction(const FunctionRecord& function) {
  for (const Activation* active = current_; active != nullptr; active = active->caller) {
    if (active->function == &function) return StepResult::Error(kRecursiveCall);
  }
  Activation activation{&function, current_, {}};
  const std::optional<int> callerBase = store_.FunctionBase();
  const int base = store_.UsedCount();
  current_ = &activation;
  store_.SetFunctionBase(base);
  const StepResult result = RunBody(function, activation.loops);
  store_.DestroyFrom(base);
  store_.SetFunctionBase(callerBase);
  current_ = activation.caller;
  return result;
}

StepResult Interpreter::RunBody(const FunctionRecord& function, LoopTable& loops) {
  StepResult last = StepResult::Next();  // what a body that executes nothing yields
  int line = function.bodyStart;
  while (line < function.bodyEnd) {
    currentStep_ = line;
    loops.Prune(line);
    if (!IsExecutableLine(script_.lines[line].text)) {
      line = LoopBackOrNext(loops, line);
      continue;
    }
    variables_.ClearParserError();
    const StepResult result = ExecuteCountedLine(line);
    if (variables_.ParserError() != 0) return StepResult::Error(variables_.ParserError());
    if (result.kind() == StepResult::Kind::kStop || result.IsError()) return result;
    last = result;
    const std::optional<int> next = NextLine(loops, line, result);
    if (!next) return result;
    line = *next;
  }
  return last;
}

// Where the body goes on after a line's result; none when the function returns it.
std::optional<int> Interpreter::NextLine(LoopTable& loops, int line, StepResult result) const {
  switch (result.kind()) {
    case StepResult::Kind::kNext:
      return LoopBackOrNext(loops, line);
    case StepResult::Kind::kSkip:
      return LineAfterSkip(loops, line);
    case StepResult::Kind::kEnterWhile:
    case StepResult::Kind::kEnterFor:
      return LoopBodyStart(loops, line, result);
    case StepResult::Kind::kJump: {
      const int label = FindLabelLine(script_.lines, result.raw());
      if (label < 0) return std::nullopt;
      return label;
    }
    case StepResult::Kind::kStop:
    case StepResult::Kind::kError:
      break;  // RunBody has returned these already
  }
  return std::nullopt;
}

// A false condition skips the next statement or block, unless the line ends a loop body.
std::optional<int> Interpreter::LineAfterSkip(LoopTable& loops, int line) const {
  if (loops.LoopBack(line) >= 0) return std::nullopt;
  const std::optional<LineRange> skipped = BlockExtent(script_.lines, line + 1);
  if (!skipped) return std::nullopt;
  return skipped->last + 1;
}

std::optional<int> Interpreter::LoopBodyStart(LoopTable& loops, int line, StepResult result) const {
  if (loops.IsFull() || loops.LoopBack(line) >= 0) return std::nullopt;
  const std::optional<LineRange> body = BlockExtent(script_.lines, line + 1);
  if (!body) return std::nullopt;
  if (loops.FindByHead(line) >= 0) {
    if (result.kind() == StepResult::Kind::kEnterWhile) return std::nullopt;
    return body->first;
  }
  loops.Append(LoopEntry{result.kind() == StepResult::Kind::kEnterFor, line, body->last});
  return body->first;
}

StepResult Interpreter::ExecuteCountedLine(int line) {
  if (stopRequested_) return StepResult::Error(kStopRequested);
  if (stepLimit_ != 0 && executedLines_ >= stepLimit_) return StepResult::Error(kStepLimitReached);
  ++executedLines_;
  return ExecuteLine(*this, script_.words[line]);
}

}  // namespace portprobe::parser
