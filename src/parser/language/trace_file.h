#pragma once

#include <string>
#include <vector>

#include "parser/language/script_lines.h"

namespace portprobe::parser {

// Writes the lines as split into "__parser__0.txt" and as they run into
// "__parser__1.txt", both in the folder, one "%04d__%04d:\t%s\r\n" record per line
// (index, source line, text). A file that cannot be created is skipped: the traces are
// for the script author to read, the run does not depend on them.
void WriteScriptTraces(const std::string& folder, const std::vector<ScriptLine>& rawLines,
                       const std::vector<ScriptLine>& preparedLines);

}  // namespace portprobe::parser
