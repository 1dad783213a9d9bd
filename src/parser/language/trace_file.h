#pragma once

#include <string>
#include <vector>

#include "parser/language/script_lines.h"

namespace portprobe::parser {

// Writes one "%04d__%04d:\t%s\r\n" record per line (index, source line, text) into the
// named file, created or overwritten. A file that cannot be created is skipped: the
// trace is for the script author to read, the run does not depend on it.
void WriteTrace(const std::string& fileName, const std::vector<ScriptLine>& lines);

}  // namespace portprobe::parser
