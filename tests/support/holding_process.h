#pragma once

#include <sys/types.h>

#include <string>

namespace portprobe::testing {

// Another program that has a device open: `sleep` started with the device as its
// standard input, open for reading and writing, as a terminal program would hold it.
// It is killed and reaped at destruction.
class HoldingProcess {
 public:
  explicit HoldingProcess(const std::string& devicePath);
  ~HoldingProcess();
  HoldingProcess(const HoldingProcess&) = delete;
  HoldingProcess& operator=(const HoldingProcess&) = delete;

  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
};

}  // namespace portprobe::testing
