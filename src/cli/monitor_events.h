#pragma once

#include <cstdint>

namespace portprobe::cli {

// What the monitor waits for: the link's wake-ups and a request to stop. Ctrl-C stops
// it, and so do SIGTERM and SIGHUP on Linux, Ctrl-Break and closing the console on
// Windows. The monitor learns of a stop in its own time, never inside a handler. A stop
// that the process was started with ignored (Ctrl-C in a background job of a script)
// stays ignored.
//
// Make it before starting any thread: on Linux the stop signals are blocked, and
// threads started later keep them blocked. Only one at a time per process.
class MonitorEvents {
 public:
  MonitorEvents();
  ~MonitorEvents();
  MonitorEvents(const MonitorEvents&) = delete;
  MonitorEvents& operator=(const MonitorEvents&) = delete;

  // Whether wake-ups can be waited for; the monitor cannot run without them.
  bool Ready() const;
  // Ends a wait, now or the next one; for the link's worker: from any thread, never blocks.
  void Wake();
  // Waits for a wake-up or a stop, at most `timeoutMilliseconds` (-1: no limit), and
  // says whether a stop has come. A wait that cannot be done counts as a stop.
  bool Wait(int timeoutMilliseconds);

  // What the system signals once a stop has come, for StoppableOutput's waits: a
  // descriptor that turns readable on Linux, an event handle on Windows. Not valid
  // when no stop can be caught (the stops then act as they would without it).
  std::intptr_t StopHandle() const { return stop_; }

 private:
  std::intptr_t stop_;
  std::intptr_t wake_;
};

}  // namespace portprobe::cli
