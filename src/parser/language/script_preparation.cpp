#include "parser/language/script_preparation.h"

#include "parser/language/line_normalizer.h"

namespace portprobe::parser {

namespace {

LineWords ReadWords(std::string_view line) {
  LineWords words{SplitWords(line), std::nullopt, IndexJoin::kJoined};
  if (PositionOfWord(words.asWritten, "[") < 0) return words;
  words.joined = words.asWritten;
  words.join = JoinIndexWords(*words.joined);
  return words;
}

}  // namespace

PreparedScript PrepareScript(const ScriptLineTable& rawLines) {
  PreparedScript script;
  script.tooManyLines = rawLines.overflow;
  FunctionTable functions = FindFunctions(rawLines.lines);
  script.functions = std::move(functions.records);
  script.tooManyFunctions = functions.overflow;
  script.lines.reserve(rawLines.lines.size());
  script.words.reserve(rawLines.lines.size());
  for (const ScriptLine& raw : rawLines.lines) {
    script.lines.push_back({NormalizeLine(raw.text), raw.sourceLine});
    script.words.push_back(ReadWords(script.lines.back().text));
  }
  return script;
}

}  // namespace portprobe::parser
