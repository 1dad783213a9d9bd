#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "serial/port_device.h"
#include "serial/tcp_connection.h"

namespace portprobe {

// A connect to a host under way on a thread of its own, so that a wait for it may be
// short and be taken up again: a reconnect's retry takes over what the last retry
// started instead of blocking the window for the whole connect. A connection that no
// one takes within kKeep of its coming is closed, so none lingers at the server.
class ConnectAttempt {
 public:
  struct Outcome {
    PortDevice::Opening opening = PortDevice::Opening::Failed;
    std::unique_ptr<TcpConnection> connection;  // when opened
  };
  static constexpr std::chrono::seconds kKeep{10};

  ConnectAttempt(const std::string& host, std::uint16_t port, std::chrono::milliseconds limit);
  ~ConnectAttempt();
  ConnectAttempt(const ConnectAttempt&) = delete;
  ConnectAttempt& operator=(const ConnectAttempt&) = delete;

  // The outcome, taken once, when the connect ends within `wait`; nothing while it
  // goes on. A connection kept too long comes back as TimedOut.
  std::optional<Outcome> Take(std::chrono::milliseconds wait);
  // Under way, or connected and kept.
  bool MayConnect() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace portprobe
