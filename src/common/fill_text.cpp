#include "common/fill_text.h"

namespace portprobe {

std::string FillText(std::string_view text, std::initializer_list<std::string_view> arguments) {
  std::string filled;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t index = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : arguments.size();
    if (text[i] == '%' && index < arguments.size()) {
      filled += arguments.begin()[index];
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

}  // namespace portprobe
