#pragma once

#include <optional>
#include <string>

namespace portprobe {

// One word of a command line read as an option: "--baud=9600" is the name "--baud"
// with the value "9600"; "--baud" is the name alone, whose value may be the next word.
struct OptionWord {
  std::string name;
  std::optional<std::string> value;
};

inline OptionWord SplitOptionWord(const std::string& word) {
  const std::size_t equals = word.find('=');
  if (equals == std::string::npos) return {word, std::nullopt};
  return {word.substr(0, equals), word.substr(equals + 1)};
}

}  // namespace portprobe
