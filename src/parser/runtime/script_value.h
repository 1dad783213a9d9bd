#pragma once

#include <cstdint>

namespace portprobe::parser {

// Every script value is a 32-bit unsigned word: numbers, characters and addresses alike.
using ScriptValue = std::uint32_t;

// What a failed lookup or read yields.
inline constexpr ScriptValue kAllOnes = 0xFFFFFFFFu;

// Indexes and counts of 0x80000000 or more count as negative.
inline bool IsNegative(ScriptValue value) { return (value & 0x80000000u) != 0; }

}  // namespace portprobe::parser
