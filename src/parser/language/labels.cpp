#include "parser/language/labels.h"

namespace portprobe::parser {

std::uint32_t LabelCode(std::string_view text, bool needsColon) {
  if (needsColon) {
    if (!text.ends_with(':')) return 0;
    text.remove_suffix(1);
  }
  std::uint32_t code = 0;
  for (std::size_t i = 0; i < text.size() && i < 4; ++i) code = (code << 8) | static_cast<unsigned char>(text[i]);
  return code;
}

int FindLabelLine(const std::vector<ScriptLine>& lines, std::uint32_t code) {
  const std::uint32_t wanted = code & 0x7FFFFFFFu;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (LabelCode(lines[i].text, true) == wanted) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace portprobe::parser
