#pragma once

#include <memory>
#include <string>

#include "cli/monitor_events.h"

namespace portprobe::cli {

// Writes to stdout, which may stall (a paused pager, a terminal stopped with Ctrl-S, a
// console window with a selection), without holding the monitor past a stop: output
// goes on after a stop only while stdout takes it.
class StoppableOutput {
 public:
  enum class Result { Written, Stopped, Failed };

  explicit StoppableOutput(const MonitorEvents& events);
  ~StoppableOutput();
  StoppableOutput(const StoppableOutput&) = delete;
  StoppableOutput& operator=(const StoppableOutput&) = delete;

  // Writes all of `text` unless a stop comes while stdout takes nothing; the rest is
  // then dropped, and so is everything written after it.
  Result Write(const std::string& text);
  // Waits, on the same terms, until everything written has gone out.
  Result Flush();

 private:
  struct Writer;
  std::unique_ptr<Writer> writer_;
};

}  // namespace portprobe::cli
