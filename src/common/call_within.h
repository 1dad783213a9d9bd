#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace portprobe {

// Runs `call` on a thread of its own and waits for its result at most `limit`. A call
// that takes longer (a name server that does not answer) is left to finish alone and
// its result dropped, so the caller's wait is bounded.
template <typename T>
std::optional<T> CallWithin(std::chrono::milliseconds limit, std::function<T()> call) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<T> result;
  };
  auto shared = std::make_shared<Shared>();
  std::thread([shared, call = std::move(call)] {
    T result = call();
    std::lock_guard lock(shared->mutex);
    shared->result = std::move(result);
    shared->done.notify_all();
  }).detach();
  std::unique_lock lock(shared->mutex);
  shared->done.wait_for(lock, limit, [&] { return shared->result.has_value(); });
  return std::move(shared->result);
}

}  // namespace portprobe
