#pragma once

#include <vector>

#include "parser/language/function_table.h"
#include "parser/language/script_lines.h"
#include "parser/language/words.h"

namespace portprobe::parser {

// A script ready to run: its lines as they run, the words of each line (words[i]
// belongs to lines[i]) and its functions.
struct PreparedScript {
  std::vector<ScriptLine> lines;
  std::vector<Words> words;
  std::vector<FunctionRecord> functions;
  bool tooManyLines = false;
  bool tooManyFunctions = false;
};

// Finds the functions on the raw lines, normalizes every line and splits it into its
// words, once for the whole run.
PreparedScript PrepareScript(const ScriptLineTable& rawLines);

}  // namespace portprobe::parser
