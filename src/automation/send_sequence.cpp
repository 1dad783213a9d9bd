#include "automation/send_sequence.h"

namespace portprobe {

std::optional<SequenceStep> SendSequence::Next(std::span<const PanelRow> rows, std::vector<SkippedRow>& skipped) {
  if (std::optional<SequenceStep> step = NextInPass(rows, skipped)) return step;
  // A pass that sent nothing would only spin: every ticked row is bad, or none is left.
  if (!loop_ || !sentThisPass_) return std::nullopt;
  position_ = 0;
  sentThisPass_ = false;
  return NextInPass(rows, skipped);
}

std::optional<SequenceStep> SendSequence::NextInPass(std::span<const PanelRow> rows, std::vector<SkippedRow>& skipped) {
  for (; position_ < rows.size(); ++position_) {
    const PanelRow& row = rows[position_];
    if (!row.ticked) continue;
    Expected<ByteFrame> frame = row.Frame();
    if (!frame) {
      if (reported_.insert(position_).second) skipped.push_back({position_, frame.Reason()});
      continue;
    }
    sentThisPass_ = sentAny_ = true;
    return SequenceStep{position_++, std::move(*frame), row.delayMilliseconds};
  }
  return std::nullopt;
}

}  // namespace portprobe
