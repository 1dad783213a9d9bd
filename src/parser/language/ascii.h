#pragma once

#include <string_view>

namespace portprobe::parser {

// Byte classes of the script language. Scripts are bytes, not characters: only ASCII
// letters fold case and every byte of 128 or more counts as printable.

inline bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

inline bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

inline bool IsQuoteByte(char c) { return c == '\'' || c == '"'; }

// Bytes 0..32 (controls and the blank) are what lines and words are trimmed of.
inline bool IsLowByte(char c) { return static_cast<unsigned char>(c) <= 32; }

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

inline bool StartsWithDigit(std::string_view text) { return !text.empty() && IsDecimalDigit(text.front()); }

inline bool StartsWithQuote(std::string_view text) { return !text.empty() && IsQuoteByte(text.front()); }

// The text without its leading and trailing bytes of value 32 or less; empty when
// it holds no byte above 32.
inline std::string_view TrimLowBytes(std::string_view text) {
  while (!text.empty() && IsLowByte(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsLowByte(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace portprobe::parser
