#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "automation/frame_panel.h"

namespace portprobe {

// A row to send now, and how long to wait after it before asking for the next.
struct SequenceStep {
  std::size_t row = 0;
  ByteFrame frame;
  int delayMilliseconds = 0;
};

// A ticked row that was passed over because its frame is bad.
struct SkippedRow {
  std::size_t row = 0;
  std::string reason;
};

// Which panel row goes next while "循环发送" runs: the ticked rows in order, once or
// round and round until stopped. The rows are read afresh at every step, so what the
// user changes meanwhile counts from the next step on.
class SendSequence {
 public:
  explicit SendSequence(bool loop) : loop_(loop) {}

  void SetLoop(bool loop) { loop_ = loop; }

  // The next row to send; none once the run is over: after the last ticked row when it
  // runs once, and in a loop when a whole pass found nothing to send. Ticked rows
  // whose frame is bad are passed over and added to `skipped`, each once a run.
  std::optional<SequenceStep> Next(std::span<const PanelRow> rows, std::vector<SkippedRow>& skipped);

  bool SentAny() const { return sentAny_; }

 private:
  std::optional<SequenceStep> NextInPass(std::span<const PanelRow> rows, std::vector<SkippedRow>& skipped);

  bool loop_;
  std::size_t position_ = 0;
  bool sentThisPass_ = false;
  bool sentAny_ = false;
  std::set<std::size_t> reported_;
};

}  // namespace portprobe
