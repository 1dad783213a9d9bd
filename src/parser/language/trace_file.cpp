#include "parser/language/trace_file.h"

#include <cstdio>

#include "common/c_file.h"

namespace portprobe::parser {

namespace {

constexpr const char* kRawTraceFile = "__parser__0.txt";
constexpr const char* kNormalizedTraceFile = "__parser__1.txt";

void WriteTrace(const std::string& fileName, const std::vector<ScriptLine>& lines) {
  const CFile file = OpenCFile(fileName, "wb");
  if (!file) return;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::fprintf(file.get(), "%04d__%04d:\t%s\r\n", static_cast<int>(i), static_cast<int>(lines[i].sourceLine),
                 lines[i].text.c_str());
  }
}

}  // namespace

void WriteScriptTraces(const std::string& folder, const std::vector<ScriptLine>& rawLines,
                       const std::vector<ScriptLine>& preparedLines) {
  WriteTrace(folder + "/" + kRawTraceFile, rawLines);
  WriteTrace(folder + "/" + kNormalizedTraceFile, preparedLines);
}

}  // namespace portprobe::parser
