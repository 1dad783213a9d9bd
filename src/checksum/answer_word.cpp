#include "checksum/answer_word.h"

#include <charconv>
#include <system_error>

namespace portprobe {

namespace {

std::optional<std::uint32_t> LeadingNumber(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  text.remove_prefix(start);
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint32_t value = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), value, base).ec != std::errc()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::uint32_t AnswerWord(std::string_view outputHead, std::optional<std::uint32_t> exitStatus) {
  if (!exitStatus) return 0;
  return LeadingNumber(outputHead).value_or(*exitStatus);
}

}  // namespace portprobe
