#include "parser/language/script_preparation.h"

#include "parser/language/line_normalizer.h"
#include "parser/language/trace_file.h"

namespace portprobe::parser {

PreparedScript PrepareScript(std::string_view text, bool writeTraceFiles) {
  ScriptLineTable split = SplitLines(text);
  PreparedScript script;
  script.lines = std::move(split.lines);
  script.tooManyLines = split.overflow;
  if (writeTraceFiles) WriteTrace(kRawTraceFile, script.lines);
  FunctionTable functions = FindFunctions(script.lines);
  script.functions = std::move(functions.records);
  script.tooManyFunctions = functions.overflow;
  for (ScriptLine& line : script.lines) line.text = NormalizeLine(line.text);
  if (writeTraceFiles) WriteTrace(kNormalizedTraceFile, script.lines);
  return script;
}

}  // namespace portprobe::parser
