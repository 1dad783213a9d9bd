#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "parser/packet_parser.h"

namespace portprobe::cli {

// Stops a parser run from outside while it lasts: on Ctrl-C, SIGTERM or SIGHUP and, when a
// time limit is given, once that much time has passed. The run then ends at its next
// line with its error report and exit banner, so what it printed stays whole.
// One guard at a time per process.
class ParseStop {
 public:
  ParseStop(parser::PacketParser& parser, std::optional<std::chrono::duration<double>> timeLimit);
  ~ParseStop();
  ParseStop(const ParseStop&) = delete;
  ParseStop& operator=(const ParseStop&) = delete;

  // Ends the watch; call once the run has returned, before asking why it ended.
  void Finish();
  // The signal that stopped the run, or 0.
  int StopSignal() const;
  bool TimedOut() const { return timedOut_; }

 private:
  void WatchTime(parser::PacketParser& parser, std::chrono::duration<double> timeLimit);

  std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;
  bool timedOut_ = false;
  std::thread watcher_;
};

}  // namespace portprobe::cli
