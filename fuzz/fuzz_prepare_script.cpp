// Prepares arbitrary bytes as a script and splits every line into words, checking the
// limits that the run loop relies on.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "parser/language/ascii.h"
#include "parser/language/blocks.h"
#include "parser/language/labels.h"
#include "parser/language/script_preparation.h"
#include "parser/language/words.h"

namespace {

using namespace portprobe::parser;

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckLine(const PreparedScript& script, int index) {
  Require(script.words[index].asWritten.size() <= kMaxWordsPerLine);
  Require(script.words[index].ForStatements().size() <= script.words[index].asWritten.size());
  if (const auto block = BlockExtent(script.lines, index)) {
    Require(block->first == index && block->last >= index);
    Require(static_cast<std::size_t>(block->last) < script.lines.size());
  }
  // A label line is found by its own code, unless the code has bit 31 set (a goto
  // takes such a code as an error).
  const std::uint32_t code = LabelCode(script.lines[index].text, true);
  if (code != 0 && code < 0x80000000u) {
    const int label = FindLabelLine(script.lines, code);
    Require(label >= 0 && label <= index);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ScriptLineTable raw = SplitLines(text);
  Require(raw.lines.size() <= kMaxScriptLines);
  for (const ScriptLine& line : raw.lines) {
    Require(!line.text.empty() && !IsLowByte(line.text.front()) && !IsLowByte(line.text.back()));
  }
  const PreparedScript script = PrepareScript(raw);
  Require(script.words.size() == script.lines.size());
  Require(script.functions.size() <= kMaxFunctions);
  for (const FunctionRecord& function : script.functions) {
    Require(function.bodyStart <= function.bodyEnd);
    Require(static_cast<std::size_t>(function.bodyEnd) <= script.lines.size());
  }
  for (std::size_t i = 0; i < script.lines.size(); ++i) CheckLine(script, static_cast<int>(i));
  return 0;
}
