#include "serial/connect_attempt.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace portprobe {

struct ConnectAttempt::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  std::optional<Outcome> outcome;
  bool done = false;
  bool taken = false;  // or given up by its owner
};

ConnectAttempt::ConnectAttempt(const std::string& host, std::uint16_t port, std::chrono::milliseconds limit)
    : shared_(std::make_shared<Shared>()) {
  std::thread([shared = shared_, host, port, limit] {
    auto connection = std::make_unique<TcpConnection>();
    const PortDevice::Opening opening = connection->Connect(host, port, limit);
    std::unique_lock lock(shared->mutex);
    shared->outcome = Outcome{opening, opening == PortDevice::Opening::Opened ? std::move(connection) : nullptr};
    shared->done = true;
    shared->changed.notify_all();
    if (!shared->changed.wait_for(lock, kKeep, [&] { return shared->taken; }) && shared->outcome) {
      shared->outcome = Outcome{PortDevice::Opening::TimedOut, nullptr};
    }
    // Left untaken, the connection closes here, on this thread.
  }).detach();
}

ConnectAttempt::~ConnectAttempt() {
  std::lock_guard lock(shared_->mutex);
  shared_->taken = true;
  shared_->changed.notify_all();
}

std::optional<ConnectAttempt::Outcome> ConnectAttempt::Take(std::chrono::milliseconds wait) {
  std::unique_lock lock(shared_->mutex);
  if (!shared_->changed.wait_for(lock, wait, [&] { return shared_->done; })) return std::nullopt;
  std::optional<Outcome> outcome = std::exchange(shared_->outcome, std::nullopt);
  shared_->taken = true;
  shared_->changed.notify_all();
  return outcome;
}

bool ConnectAttempt::MayConnect() const {
  std::lock_guard lock(shared_->mutex);
  return !shared_->done || (shared_->outcome && shared_->outcome->connection);
}

}  // namespace portprobe
