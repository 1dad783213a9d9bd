#pragma once

#include <string_view>

namespace portprobe {

// What separates the words of rules and frames.
inline constexpr std::string_view kBlanks = " \t\r\n";

// The text without the blanks (spaces, tabs, line ends) around it.
inline std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace portprobe
