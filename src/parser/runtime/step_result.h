#pragma once

#include <cstdint>

namespace portprobe::parser {

// Error codes: bit 31 set, a category in bits 16-23 and the site that raised it in
// bits 0-15.
using ResultCode = std::uint32_t;

// What a statement returns to the run loop. The raw word is what the error report shows
// and what a called function hands back to its caller's loop, so its meaning is always
// read from the word itself: 0 stop, 1 next, 2 skip the next statement or block, 5 and 6
// enter a while or for body, bit 31 set an error, any other value a label to jump to.
class StepResult {
 public:
  enum class Kind { kStop, kNext, kSkip, kEnterWhile, kEnterFor, kError, kJump };
  enum class LoopKind { kWhile, kFor };

  static constexpr StepResult Stop() { return StepResult(0); }
  static constexpr StepResult Next() { return StepResult(1); }
  static constexpr StepResult Skip() { return StepResult(2); }
  static constexpr StepResult Loop(LoopKind kind) { return StepResult(kind == LoopKind::kWhile ? 5 : 6); }
  // A label code whose first byte is 0x80 or more has bit 31 set and so reads as an
  // error, as scripts have always seen it.
  static constexpr StepResult Jump(std::uint32_t labelCode) { return StepResult(labelCode); }
  static constexpr StepResult Error(ResultCode code) { return StepResult(code); }

  constexpr std::uint32_t raw() const { return raw_; }
  constexpr Kind kind() const {
    if ((raw_ & 0x80000000u) != 0) return Kind::kError;
    switch (raw_) {
      case 0:
        return Kind::kStop;
      case 1:
        return Kind::kNext;
      case 2:
        return Kind::kSkip;
      case 5:
        return Kind::kEnterWhile;
      case 6:
        return Kind::kEnterFor;
      default:
        return Kind::kJump;
    }
  }
  constexpr bool IsNext() const { return raw_ == 1; }
  constexpr bool IsError() const { return kind() == Kind::kError; }

  friend constexpr bool operator==(StepResult, StepResult) = default;

 private:
  explicit constexpr StepResult(std::uint32_t raw) : raw_(raw) {}

  std::uint32_t raw_;
};

}  // namespace portprobe::parser
