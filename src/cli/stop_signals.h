#pragma once

#include "common/unique_fd.h"

namespace portprobe::cli {

// Ctrl-C, SIGTERM and SIGHUP arrive on a descriptor that a poll loop watches, so that
// the loop ends in its own time, never inside a handler. Make it before starting any
// thread: the signals are blocked, and threads started later keep them blocked. A
// signal that the process was started with ignored (SIGINT in a background job of a
// script) stays ignored.
class StopSignals {
 public:
  StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Readable once a stop signal came; -1 when no descriptor could be made, and the
  // signals then act as they would without it.
  int Fd() const { return fd_.get(); }

 private:
  static int OpenSignalFd();
  UniqueFd fd_;
};

}  // namespace portprobe::cli
