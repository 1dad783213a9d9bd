#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "serial/connect_attempt.h"
#include "serial/network_address.h"
#include "serial/port_device.h"
#include "serial/rfc2217_client.h"
#include "serial/tcp_connection.h"

namespace portprobe {

// A port on another machine: rfc2217://HOST:PORT, a serial port served over Telnet
// whose settings and modem lines travel beside the data, or tcp://HOST:PORT, bytes
// only. Settings go out from the owner's thread through the worker: they join the
// bytes to send and wake it.
class NetworkDevice final : public PortDevice {
 public:
  // How long an open waits for the host's name and its answer.
  static constexpr std::chrono::seconds kConnectLimit{5};

  // Waits for the connect as long as it may take.
  Opening Open(const std::string& path) override;
  // Waits at most `wait`; TimedOut while the connect goes on.
  Opening Open(const std::string& path, std::chrono::milliseconds wait);
  bool IsOpen() const override;
  void Close() override;
  ApplyResult ApplySettings(const LineSettings& settings) override;
  bool CreateWake() override;
  void Wake() override;
  std::optional<Readiness> Wait(bool read, bool write, int timeoutMilliseconds) override;
  std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override;
  std::optional<std::size_t> Write(std::span<const std::uint8_t> bytes) override;
  void ResetLineErrors() override;
  bool TakeLineErrors() override;
  void FlushInput() override;
  void FlushOutput() override;
  std::optional<std::uint32_t> ModemInputs() override;
  void SetModemOutputs(bool rts, bool dtr) override;
  bool SetBreak(bool on) override;
  std::vector<RemoteNotice> TakeNotices() override;

 private:
  using Clock = std::chrono::steady_clock;

  bool Raw() const { return !client_.has_value(); }
  // Sends what the client has gathered, as far as the connection takes it; false
  // when the connection failed.
  bool SendOutgoing();
  int BoundedByDeadline(int timeoutMilliseconds) const;

  // A connect outlasts its limit a little: its lookup and connect each end on time.
  static constexpr std::chrono::milliseconds kAttemptEnds = kConnectLimit + std::chrono::milliseconds(500);

  std::unique_ptr<TcpConnection> connection_;
  std::unique_ptr<ConnectAttempt> attempt_;
  std::string attemptPath_;
  // Guards the client, which the owner's thread gives settings while the worker runs.
  mutable std::mutex mutex_;
  std::optional<Rfc2217Client> client_;
  // The worker's own.
  std::vector<RemoteNotice> notices_;
};

}  // namespace portprobe
