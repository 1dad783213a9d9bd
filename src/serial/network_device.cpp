#include "serial/network_device.h"

#include <algorithm>
#include <array>
#include <utility>

namespace portprobe {

PortDevice::Opening NetworkDevice::Open(const std::string& path) { return Open(path, kAttemptEnds); }

// A connect still under way after `wait` goes on; the next open of the same port
// takes it over, unless it has failed meanwhile: that open tries afresh.
PortDevice::Opening NetworkDevice::Open(const std::string& path, std::chrono::milliseconds wait) {
  Close();
  const std::optional<NetworkAddress> address = ParseNetworkAddress(path);
  if (!address) return Opening::BadAddress;
  if (!attempt_ || attemptPath_ != path || !attempt_->MayConnect()) {
    attempt_ = std::make_unique<ConnectAttempt>(address->host, address->port, kConnectLimit);
    attemptPath_ = path;
  }
  std::optional<ConnectAttempt::Outcome> outcome = attempt_->Take(wait);
  if (!outcome) return Opening::TimedOut;
  attempt_.reset();
  if (outcome->opening != Opening::Opened) return outcome->opening;
  connection_ = std::move(outcome->connection);
  if (address->protocol == NetworkAddress::Protocol::Rfc2217) {
    std::lock_guard lock(mutex_);
    client_.emplace(Clock::now());
  }
  return Opening::Opened;
}

bool NetworkDevice::IsOpen() const { return connection_ && connection_->IsOpen(); }

void NetworkDevice::Close() {
  connection_.reset();
  std::lock_guard lock(mutex_);
  client_.reset();
  notices_.clear();
}

// A raw port has no settings to take: the server's side has them.
ApplyResult NetworkDevice::ApplySettings(const LineSettings& settings) {
  if (!IsOpen()) return ApplyResult::NotATerminal;
  {
    std::lock_guard lock(mutex_);
    if (Raw()) return ApplyResult::Applied;
    client_->SetLine(settings, Clock::now());
  }
  Wake();
  return ApplyResult::Applied;
}

bool NetworkDevice::CreateWake() { return IsOpen() && connection_->CreateWake(); }

void NetworkDevice::Wake() {
  if (IsOpen()) connection_->Wake();
}

// Commands and replies to send are written first; the caller's data is taken only
// once they are out, and not while the server has asked for a pause.
std::optional<PortDevice::Readiness> NetworkDevice::Wait(bool read, bool write, int timeoutMilliseconds) {
  bool sending = false, paused = false;
  {
    std::lock_guard lock(mutex_);
    if (!Raw()) {
      sending = !client_->Outgoing().empty();
      paused = client_->Suspended();
    }
  }
  std::optional<Readiness> ready =
      connection_->Wait(read, (write && !paused) || sending, BoundedByDeadline(timeoutMilliseconds));
  if (!ready || ready->woken) return ready;
  if (ready->writable && sending && !SendOutgoing()) ready->hungUp = true;
  std::lock_guard lock(mutex_);
  if (!Raw()) {
    const std::vector<RemoteNotice> due = client_->TakeNotices(Clock::now());
    notices_.insert(notices_.end(), due.begin(), due.end());
    ready->writable = ready->writable && write && client_->Outgoing().empty() && !client_->Suspended();
  }
  return ready;
}

int NetworkDevice::BoundedByDeadline(int timeoutMilliseconds) const {
  std::lock_guard lock(mutex_);
  if (Raw()) return timeoutMilliseconds;
  const std::optional<Clock::time_point> deadline = client_->NextDeadline();
  if (!deadline) return timeoutMilliseconds;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
  const int bounded = static_cast<int>(std::clamp<long long>(left, 0, 60'000));
  return timeoutMilliseconds < 0 ? bounded : std::min(timeoutMilliseconds, bounded);
}

bool NetworkDevice::SendOutgoing() {
  std::lock_guard lock(mutex_);
  ByteFrame& outgoing = client_->Outgoing();
  if (outgoing.empty()) return true;
  const std::optional<std::size_t> sent = connection_->Send(outgoing);
  if (!sent) return false;
  outgoing.erase(outgoing.begin(), outgoing.begin() + static_cast<std::ptrdiff_t>(*sent));
  return true;
}

// The server's replies to what arrived are sent at once.
std::optional<std::size_t> NetworkDevice::Read(std::span<std::uint8_t> buffer) {
  if (Raw()) return connection_->Receive(buffer);
  std::array<std::uint8_t, 4096> wire;
  const std::optional<std::size_t> received = connection_->Receive(std::span(wire).first(std::min(wire.size(), buffer.size())));
  if (!received) return std::nullopt;
  ByteFrame data;
  {
    std::lock_guard lock(mutex_);
    client_->Receive(std::span(wire).first(*received), data, Clock::now());
  }
  if (!SendOutgoing()) return std::nullopt;
  std::copy(data.begin(), data.end(), buffer.begin());
  return data.size();
}

// The data is taken whole once nothing waits before it; its 0xFF bytes, doubled, may
// leave a tail that the next waits send.
std::optional<std::size_t> NetworkDevice::Write(std::span<const std::uint8_t> bytes) {
  if (Raw()) return connection_->Send(bytes);
  if (!SendOutgoing()) return std::nullopt;
  {
    std::lock_guard lock(mutex_);
    if (!client_->Outgoing().empty() || client_->Suspended()) return 0;
    client_->SendData(bytes);
  }
  if (!SendOutgoing()) return std::nullopt;
  return bytes.size();
}

void NetworkDevice::ResetLineErrors() { TakeLineErrors(); }

bool NetworkDevice::TakeLineErrors() {
  std::lock_guard lock(mutex_);
  return !Raw() && client_->TakeLineErrors();
}

void NetworkDevice::FlushInput() {
  std::lock_guard lock(mutex_);
  if (!Raw()) client_->PurgeData(Rfc2217Client::Purge::Received, Clock::now());
}

void NetworkDevice::FlushOutput() {
  {
    std::lock_guard lock(mutex_);
    if (Raw()) return;
    client_->PurgeData(Rfc2217Client::Purge::Unsent, Clock::now());
  }
  Wake();
}

std::optional<std::uint32_t> NetworkDevice::ModemInputs() {
  std::lock_guard lock(mutex_);
  if (Raw()) return std::nullopt;
  return client_->ModemInputs();
}

void NetworkDevice::SetModemOutputs(bool rts, bool dtr) {
  std::lock_guard lock(mutex_);
  if (!Raw()) client_->SetControlLines(rts, dtr, Clock::now());
}

bool NetworkDevice::SetBreak(bool on) {
  std::lock_guard lock(mutex_);
  if (Raw()) return false;
  client_->SetBreak(on, Clock::now());
  return true;
}

std::vector<RemoteNotice> NetworkDevice::TakeNotices() { return std::exchange(notices_, {}); }

}  // namespace portprobe
