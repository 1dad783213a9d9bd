#pragma once

#include <string>

#include "common/unique_fd.h"
#include "sim/device_end.h"

namespace portprobe::sim {

// The simulated device on a TCP port (--listen tcp://HOST:PORT): one terminal at a
// time connects; another that comes meanwhile waits in the backlog. It listens on
// the address given and no other.
class TcpListener final : public DeviceEnd {
 public:
  // Throws std::system_error when the address cannot be had.
  explicit TcpListener(const std::string& address);

  const std::string& Name() const override { return name_; }
  bool TerminalThere() override;
  int Fd() const override { return connection_.get(); }
  int ArrivalFd() const override { return listener_.get(); }
  void TerminalGone() override { connection_.reset(); }

 private:
  std::string name_;
  UniqueFd listener_;
  UniqueFd connection_;
};

}  // namespace portprobe::sim
