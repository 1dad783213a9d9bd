#include "parser/language/blocks.h"

#include "parser/language/ascii.h"
#include "parser/language/labels.h"

namespace portprobe::parser {

namespace {

// Only the first byte decides a brace, while "begin" and "end" must be the whole line.
bool OpensBlock(std::string_view text) { return text.starts_with('{') || EqualsIgnoreCase(text, "begin"); }

bool ClosesBlock(std::string_view text) { return text.starts_with('}') || EqualsIgnoreCase(text, "end"); }

}  // namespace

std::optional<LineRange> BlockExtent(const std::vector<ScriptLine>& lines, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) return std::nullopt;
  const std::string_view start = lines[index].text;
  // A block that starts on a closing line needs two closings to end.
  int openings = OpensBlock(start) ? 1 : ClosesBlock(start) ? 2 : 0;
  if (openings == 0) return LineRange{index, index};
  int closings = 0;
  for (std::size_t i = index + 1; i < lines.size(); ++i) {
    if (OpensBlock(lines[i].text)) {
      ++openings;
    } else if (ClosesBlock(lines[i].text)) {
      ++closings;
    }
    if (openings == closings) return LineRange{index, static_cast<int>(i)};
  }
  return std::nullopt;
}

bool IsExecutableLine(std::string_view text) {
  if (LabelCode(text, true) != 0) return false;
  return !OpensBlock(text) && !ClosesBlock(text);
}

}  // namespace portprobe::parser
