#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "serial/port_device.h"

namespace portprobe {

// A TCP connection to a port on the network, one implementation per system, with the
// wake object that the port's worker waits on beside it.
class TcpConnection {
 public:
  TcpConnection();
  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  // Looks the host up and connects within `limit`; a lookup that takes longer is
  // left to finish alone.
  PortDevice::Opening Connect(const std::string& host, std::uint16_t port, std::chrono::milliseconds limit);
  bool IsOpen() const;
  void Close();

  bool CreateWake();
  void Wake();
  std::optional<PortDevice::Readiness> Wait(bool read, bool write, int timeoutMilliseconds);
  // What arrived, up to the span's size; 0 when nothing has. Nothing when the far end
  // closed the connection or it failed.
  std::optional<std::size_t> Receive(std::span<std::uint8_t> buffer);
  // What the connection takes at once; nothing when it failed.
  std::optional<std::size_t> Send(std::span<const std::uint8_t> bytes);

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace portprobe
