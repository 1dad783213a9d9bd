#pragma once

#include <cstdint>
#include <string_view>

#include "parser/runtime/script_value.h"

namespace portprobe::parser {

// A type code: pointer flag in bit 7, ordinal in bits 3-6, size in bytes (of the type,
// or of what a pointer points to) in bits 0-2. 0 is untyped.
using TypeCode = std::uint8_t;

// A variable's type: the type code in bits 24-31, the element count in bits 0-23
// (0 for a scalar).
using TypeWord = std::uint32_t;

inline constexpr TypeCode kPointerFlag = 0x80;
inline constexpr TypeCode kCharCode = 0x09;
inline constexpr TypeCode kCharPointerCode = 0x89;
inline constexpr std::uint32_t kMaxElementCount = 0xFFFFFF;

// The code of a declarable type name such as "unsigned short *", or 0.
TypeCode FindTypeCode(std::string_view typeName);

inline TypeWord MakeTypeWord(TypeCode code, std::uint32_t count) {
  return (static_cast<TypeWord>(code) << 24) | (count & kMaxElementCount);
}
inline TypeCode CodeOf(TypeWord type) { return static_cast<TypeCode>(type >> 24); }
inline std::uint32_t ElementCountOf(TypeWord type) { return type & kMaxElementCount; }
inline bool IsArray(TypeWord type) { return ElementCountOf(type) != 0; }

// Bytes per element: 4 for an array of pointers, else the code's size bits. Elements
// of any size but 1, 2 or 4 cannot be read or written.
unsigned ElementSize(TypeWord type);
inline bool IsAccessibleSize(unsigned size) { return size == 1 || size == 2 || size == 4; }

// The value as a variable of that type keeps it: 1- and 2-byte non-pointer types keep
// the low 8 or 16 bits, everything else the whole word.
ScriptValue CutToWidth(TypeWord type, ScriptValue value);

}  // namespace portprobe::parser
