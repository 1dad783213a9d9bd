#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace portprobe::testing {

// portprobe-sim run as a real process: started with `args`, it is ready once it has
// printed its device path. A simulator still running at destruction is killed.
class SimProcess {
 public:
  SimProcess(const std::string& program, const std::vector<std::string>& args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  const std::string& DevicePath() const { return devicePath_; }
  void Signal(int signal) const;
  // Exit status once the simulator has ended, or -1 when it is still running after
  // `timeoutMs` (or was ended by a signal).
  int WaitForExit(int timeoutMs = 10000);

 private:
  pid_t pid_ = -1;
  std::string devicePath_;
};

// The simulator's device opened as the terminal opens a port: read-write, not as the
// controlling terminal, non-blocking.
class DeviceFd {
 public:
  explicit DeviceFd(const std::string& path);
  ~DeviceFd();
  DeviceFd(const DeviceFd&) = delete;
  DeviceFd& operator=(const DeviceFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace portprobe::testing
