#pragma once

#include <cstdint>

namespace portprobe::parser {

// The two-operand operations, in the order of their statement words "add" .. "ne" and
// "+" .. "!=". The numbering is part of the language: every statement row lends its
// argument to "a W b" as one of these.
enum class Operator : std::uint16_t {
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kBitAnd,
  kBitOr,
  kBitXor,
  kLogicalAnd,
  kLogicalOr,
  kEqual,
  kLess,
  kGreater,
  kLessOrEqual,
  kGreaterOrEqual,
  kNotEqual,
};

// The one-operand operations of "++", "--", "~" and "inc", "dec", "reverse".
enum class StepOperation : std::uint16_t { kIncrement, kDecrement, kComplement };

}  // namespace portprobe::parser
