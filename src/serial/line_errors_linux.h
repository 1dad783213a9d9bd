#pragma once

#include <mutex>

namespace portprobe {

// Line errors (framing, parity, overrun, break, buffer overrun) are reported by the
// driver as running counts. "Read and clear" means: compare with the counts seen at
// the last call. Drivers without counters (pseudo-terminals) report no errors.
class LineErrorCounters {
 public:
  // Forgets earlier counts; errors from before this call are never reported.
  void Reset(int fd);
  // True when the counts grew since the last call.
  bool TakeErrors(int fd);

 private:
  struct Counts {
    int frame = 0, overrun = 0, parity = 0, brk = 0, bufferOverrun = 0;
    bool operator==(const Counts&) const = default;
  };
  static bool Read(int fd, Counts* counts);

  std::mutex mutex_;
  Counts last_;
};

}  // namespace portprobe
