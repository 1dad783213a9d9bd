#pragma once

#include <cstddef>
#include <string_view>

#include "common/utf8_bytes.h"

namespace portprobe {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// One character of UTF-8 text: its code point and how many bytes it takes.
struct Utf8Character {
  char32_t codePoint = 0;
  std::size_t length = 0;
};

// The character that starts at `position` (which must lie inside `text`). A byte
// sequence that is not well-formed UTF-8 yields U+FFFD for its longest valid-looking
// beginning, at least one byte, so every byte of any text belongs to exactly one
// character and decoding never stalls.
Utf8Character DecodeUtf8At(std::string_view text, std::size_t position);

}  // namespace portprobe
