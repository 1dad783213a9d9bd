#include "parser/language/function_table.h"

#include "parser/language/ascii.h"
#include "parser/language/blocks.h"
#include "parser/language/line_normalizer.h"
#include "parser/language/words.h"

namespace portprobe::parser {

namespace {

bool IsFunctionHeader(std::string_view text, Words& words) {
  if (text.find("void") == std::string_view::npos || text.find("()") == std::string_view::npos) return false;
  words = SplitWords(BlankPunctuation(text));
  return words.size() == 2;
}

// The body is the block on the line after the header. When there is no such line,
// or its braces never balance, the body starts and ends there and runs nothing, so
// that the global pass still passes over the header.
FunctionRecord MakeRecord(const std::vector<ScriptLine>& lines, int header, std::string name) {
  FunctionRecord record{std::move(name), header + 1, header + 1};
  if (const auto body = BlockExtent(lines, header + 1)) {
    record.bodyStart = body->first;
    record.bodyEnd = body->last;
  }
  return record;
}

}  // namespace

FunctionTable FindFunctions(const std::vector<ScriptLine>& rawLines) {
  FunctionTable table;
  Words words;
  for (std::size_t i = 0; i < rawLines.size(); ++i) {
    if (!IsFunctionHeader(rawLines[i].text, words)) continue;
    if (table.records.size() == kMaxFunctions) {
      table.overflow = true;
      break;
    }
    table.records.push_back(MakeRecord(rawLines, static_cast<int>(i), std::move(words[1])));
  }
  return table;
}

const FunctionRecord* FindFunction(const std::vector<FunctionRecord>& functions, std::string_view name) {
  for (const FunctionRecord& record : functions) {
    if (EqualsIgnoreCase(record.name, name)) return &record;
  }
  return nullptr;
}

}  // namespace portprobe::parser
