#include "parser/language/script_preparation.h"

#include "parser/language/line_normalizer.h"

namespace portprobe::parser {

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
    script.words.push_back(SplitWords(script.lines.back().text));
  }
  return script;
}

}  // namespace portprobe::parser
