// Rules files, panel files and the frames they hold: whatever the text, reading never
// fails hard, a rule read back from its own text is the same rule, a panel written out
// and read back gives the same rows (the same frames), and escaped text gives back its bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "automation/frame_panel.h"
#include "automation/frame_text.h"
#include "automation/reply_rules.h"

namespace {

using namespace portprobe;

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckRules(std::string_view text) {
  for (const ReplyRule& rule : ParseReplyRules(text).rules) {
    const Expected<ReplyRule> again = ParseReplyRule(RuleTextOfLine(rule.text));
    Require(again.has_value() && again->pattern == rule.pattern && again->reply == rule.reply);
  }
}

// A row read back keeps its tick, delay, kind, checksum and the bytes it sends; its
// text may come back in the canonical escapes and with its tabs and line ends written
// out, and a second save writes the same line.
void RequireSameRow(const PanelRow& again, const PanelRow& row) {
  Require(again.ticked == row.ticked && again.delayMilliseconds == row.delayMilliseconds);
  Require(again.kind == row.kind && again.checksumRow == row.checksumRow);
  const Expected<ByteFrame> frame = row.Frame();
  if (frame) Require(again.Frame() == *frame);
  if (row.kind == FrameKind::Hex) Require(again.Frame().has_value() == frame.has_value());
  Require(FormatPanelRow(again) == FormatPanelRow(row));
}

void CheckPanel(std::string_view text) {
  for (const PanelFrames frames : {PanelFrames::Checked, PanelFrames::Unchecked}) {
    const PanelFile file = ParsePanelFile(text, frames);
    const PanelFile again = ParsePanelFile(FormatPanelFile(file.rows), PanelFrames::Unchecked);
    Require(again.errors.empty());
    std::size_t filled = file.rows.size();
    while (filled > 0 && file.rows[filled - 1].Blank()) --filled;
    Require(again.rows.size() == filled);
    for (std::size_t i = 0; i < filled; ++i) RequireSameRow(again.rows[i], file.rows[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckRules(text);
  CheckPanel(text);
  const ByteFrame bytes(data, data + size);
  const Expected<ByteFrame> unescaped = UnescapeText(EscapeText(bytes));
  Require(unescaped.has_value() && *unescaped == bytes);
  return 0;
}
