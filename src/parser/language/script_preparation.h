#pragma once

#include <optional>
#include <vector>

#include "parser/language/function_table.h"
#include "parser/language/index_words.h"
#include "parser/language/script_lines.h"
#include "parser/language/words.h"

namespace portprobe::parser {

// The words of one line, split once for the whole run.
struct LineWords {
  Words asWritten;  // what a declaration reads: "name [ count ]" apart
  // What every other statement reads, "name[index]" as one word; only for lines with a
  // "[", the others read asWritten.
  std::optional<Words> joined;
  IndexJoin join = IndexJoin::kJoined;

  const Words& ForStatements() const { return joined ? *joined : asWritten; }
};

// A script ready to run: its lines as they run, the words of each line (words[i]
// belongs to lines[i]) and its functions.
struct PreparedScript {
  std::vector<ScriptLine> lines;
  std::vector<LineWords> words;
  std::vector<FunctionRecord> functions;
  bool tooManyLines = false;
  bool tooManyFunctions = false;
};

// Finds the functions on the raw lines, normalizes every line and splits it into its
// words.
PreparedScript PrepareScript(const ScriptLineTable& rawLines);

}  // namespace portprobe::parser
