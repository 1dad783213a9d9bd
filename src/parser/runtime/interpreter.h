#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "parser/language/function_table.h"
#include "parser/language/script_preparation.h"
#include "parser/packet_parser.h"
#include "parser/runtime/input_frame.h"
#include "parser/runtime/loop_table.h"
#include "parser/runtime/memory_arena.h"
#include "parser/runtime/result_codes.h"
#include "parser/runtime/string_pool.h"
#include "parser/runtime/variable_store.h"
#include "parser/runtime/variables.h"

namespace portprobe::parser {

// The state of the interpreter and its run loop: the global pass, function calls with
// their loop tables, the error report and the banners.
class Interpreter {
 public:
  explicit Interpreter(OutputSink sink) : sink_(std::move(sink)) {}

  int RunParser(std::string_view scriptText, std::span<const std::uint8_t> frame);
  std::int32_t AllocationCount() const { return arena_.AllocationCount(); }
  void RequestStop() { stopRequested_ = true; }
  void SetStepLimit(std::uint64_t maxLines) { stepLimit_ = maxLines; }
  void SetTraceFolder(const std::string& folder) { traceFolder_ = folder; }
  void SetBanners(bool on) { banners_ = on; }
  bool LastRunReachedStepLimit() const { return reachedStepLimit_; }

  // What the statements of a running line reach.
  Variables& variables() { return variables_; }
  const InputFrame& frame() const { return frame_; }
  void Print(std::string_view text) { sink_(text); }
  int CurrentStep() const { return currentStep_; }
  // The loops of the running function; nullptr in the global pass.
  LoopTable* CurrentLoops() { return current_ == nullptr ? nullptr : &current_->loops; }
  const FunctionRecord* FindFunction(std::string_view name) const;
  StepResult CallFunction(const FunctionRecord& function);

 private:
  struct Activation {
    const FunctionRecord* function;
    Activation* caller;
    LoopTable loops;
  };

  void RunScript();
  StepResult RunGlobalPass();
  void TraceValue(const char* name, ScriptValue value);
  bool IsInsideFunction(int line) const;
  StepResult RunBody(const FunctionRecord& function, LoopTable& loops);
  std::optional<int> NextLine(LoopTable& loops, int line, StepResult result) const;
  std::optional<int> LineAfterSkip(LoopTable& loops, int line) const;
  std::optional<int> LoopBodyStart(LoopTable& loops, int line, StepResult result) const;
  void Prepare(std::string_view scriptText);
  StepResult ExecuteCountedLine(int line);
  void ReportError(StepResult result);
  void Teardown();

  OutputSink sink_;
  MemoryArena arena_;
  StringPool pool_{arena_};
  VariableStore store_{arena_};
  Variables variables_{arena_, store_, pool_};
  PreparedScript script_;
  InputFrame frame_;
  int currentStep_ = 0;
  Activation* current_ = nullptr;
  std::atomic<bool> stopRequested_{false};
  std::uint64_t stepLimit_ = 0;
  std::uint64_t executedLines_ = 0;
  bool banners_ = true;
  bool reachedStepLimit_ = false;
  std::string traceFolder_;
};

}  // namespace portprobe::parser
