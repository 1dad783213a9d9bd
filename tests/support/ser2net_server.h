#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "support/background_program.h"
#include "support/temp_dir.h"

namespace portprobe::testing {

// Debian's ser2net serving one device on the loopback address, as a remote machine
// would: `telnet(rfc2217)` or plain `tcp`. Start() waits until it accepts connections.
class Ser2netServer {
 public:
  enum class Accepter { Rfc2217, Tcp };
  Ser2netServer(const std::string& devicePath, Accepter accepter = Accepter::Rfc2217);

  // The port box's name of the served device.
  std::string Url() const;
  std::uint16_t Port() const { return port_; }
  void Start();
  // Ends the server and every connection it holds.
  void Stop();

 private:
  TempDir dir_;
  std::uint16_t port_;
  std::string url_;
  std::unique_ptr<BackgroundProgram> server_;
};

// A loopback port whose listener's queue is full and never taken: a connect to it gets
// no answer, as from a host that has gone off the network.
class UnansweredPort {
 public:
  explicit UnansweredPort(std::uint16_t port);
  ~UnansweredPort();
  UnansweredPort(const UnansweredPort&) = delete;
  UnansweredPort& operator=(const UnansweredPort&) = delete;

 private:
  int listener_;
  int filler_;
};

// A TCP port on the loopback address that nothing listens on just now.
std::uint16_t FreeLoopbackPort();
// Whether something accepts connections at that port within `timeoutMs`.
bool AcceptsConnections(std::uint16_t port, int timeoutMs = 5000);

}  // namespace portprobe::testing
