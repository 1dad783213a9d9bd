#include "parser/runtime/interpreter.h"

#include "parser/language/trace_file.h"
#include "parser/runtime/text_format.h"

namespace portprobe::parser {

namespace {

constexpr std::string_view kStartBanner = "\r\n---Start Parser--------\r\n";
constexpr const char* kExitBanner = "\r\n---Exit Parser  unfreeptr=%d--------\r\n";
constexpr std::string_view kNoMainFunction = "<Parser Error:No Main Function Found!>\r\n";

// Results up to 255 (stop, a false condition, a one-byte label) end "main" quietly.
bool IsReportedByMain(StepResult result) { return result.raw() > 0xFFu; }

}  // namespace

int Interpreter::RunParser(std::string_view scriptText, std::span<const std::uint8_t> frame) {
  stopRequested_ = false;
  executedLines_ = 0;
  reachedStepLimit_ = false;
  currentStep_ = 0;
  store_.Clear();
  store_.SetGlobalCount(0);
  frame_ = InputFrame{frame};
  if (banners_) Print(kStartBanner);
  Prepare(scriptText.substr(0, scriptText.find('\0')));
  RunScript();
  Teardown();
  if (banners_) Print(FormatText(kExitBanner, static_cast<int>(AllocationCount())));
  return 0;
}

void Interpreter::Prepare(std::string_view scriptText) {
  const ScriptLineTable rawLines = SplitLines(scriptText);
  script_ = PrepareScript(rawLines);
  if (!traceFolder_.empty()) WriteScriptTraces(traceFolder_, rawLines.lines, script_.lines);
}

void Interpreter::RunScript() {
  if (script_.tooManyLines || script_.tooManyFunctions) {
    ReportError(StepResult::Error(script_.tooManyLines ? kTooManyLines : kTooManyFunctions));
    return;
  }
  StepResult result = RunGlobalPass();
  if (!result.IsNext()) {
    ReportError(result);
    return;
  }
  const FunctionRecord* main = FindFunction("main");
  if (main == nullptr) {
    Print(kNoMainFunction);
    return;
  }
  result = CallFunction(*main);
  if (IsReportedByMain(result)) ReportError(result);
}

const FunctionRecord* Interpreter::FindFunction(std::string_view name) const {
  return parser::FindFunction(script_.functions, name);
}

void Interpreter::ReportError(StepResult result) {
  reachedStepLimit_ = result.raw() == kStepLimitReached;
  if (reachedStepLimit_ && !banners_) return;
  const bool onLine = currentStep_ >= 0 && static_cast<std::size_t>(currentStep_) < script_.lines.size();
  const int sourceLine = onLine ? script_.lines[currentStep_].sourceLine : 0;
  const std::uint32_t word = result.raw();
  Print(FormatText("<Parser Error: Step %d,SrcLine=%d,ret=%lx,ExLine=%d,Ex=%x>\r\n", currentStep_, sourceLine,
                   static_cast<unsigned long>(word), static_cast<int>(word & 0xFFFFu),
                   static_cast<unsigned>((word >> 16) & 0xFFu)));
}

void Interpreter::Teardown() {
  store_.DestroyFrom(0);
  script_ = PreparedScript{};
  pool_.Empty();
}

}  // namespace portprobe::parser
