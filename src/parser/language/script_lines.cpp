#include "parser/language/script_lines.h"

#include "parser/language/ascii.h"

namespace portprobe::parser {

namespace {

void StoreSegment(std::string_view segment, std::int32_t sourceLine, ScriptLineTable& table) {
  const std::string_view trimmed = TrimLowBytes(segment);
  if (trimmed.empty()) return;
  if (table.lines.size() == kMaxScriptLines) {
    table.overflow = true;
    return;
  }
  table.lines.push_back({std::string(trimmed), sourceLine});
}

}  // namespace

ScriptLineTable SplitLines(std::string_view text) {
  ScriptLineTable table;
  std::int32_t carriageReturns = 0;
  std::size_t segmentStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    const std::size_t segmentEnd = i;
    if (text[i] == '\r') {
      ++carriageReturns;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    StoreSegment(text.substr(segmentStart, segmentEnd - segmentStart), carriageReturns, table);
    segmentStart = i + 1;
  }
  StoreSegment(text.substr(segmentStart), carriageReturns, table);
  return table;
}

}  // namespace portprobe::parser
