#include "parser/language/script_preparation.h"

#include "parser/language/line_normalizer.h"
#include "parser/language/trace_file.h"

namespace portprobe::parser {

PreparedScript PrepareScript(std::string_view text, const std::string& traceFolder) {
  ScriptLineTable split = SplitLines(text);
  PreparedScript script;
  script.lines = std::move(split.lines);
  script.tooManyLines = split.overflow;
  if (!traceFolder.empty()) WriteTrace(traceFolder + "/" + kRawTraceFile, script.lines);
  FunctionTable functions = FindFunctions(script.lines);
  script.functions = std::move(functions.records);
  script.tooManyFunctions = functions.overflow;
  for (ScriptLine& line : script.lines) line.text = NormalizeLine(line.text);
  if (!traceFolder.empty()) WriteTrace(traceFolder + "/" + kNormalizedTraceFile, script.lines);
  return script;
}

}  // namespace portprobe::parser
