#pragma once

// Collecting what a SerialLink reports, for the link's tests on both systems.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "serial/serial_link.h"

namespace portprobe {

// Collects what the link queues, as the window would.
class LinkUnderTest {
 public:
  LinkUnderTest()
      : link([this] {
          std::lock_guard lock(mutex);
          wakes++;
          woken.notify_all();
        }) {}

  // All events until `bytes` batch bytes have come, or a hang-up, or a time-out.
  std::vector<SerialEvent> Collect(std::size_t bytes, std::chrono::seconds timeout = std::chrono::seconds(10)) {
    std::vector<SerialEvent> events;
    std::size_t received = 0;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (received < bytes && std::chrono::steady_clock::now() < deadline) {
      for (SerialEvent& event : link.TakeEvents()) {
        received += event.bytes.size();
        const bool hangUp = event.kind == SerialEvent::Kind::HangUp;
        events.push_back(std::move(event));
        if (hangUp) return events;
      }
      std::unique_lock lock(mutex);
      woken.wait_for(lock, std::chrono::milliseconds(20));
    }
    return events;
  }

  SerialLink link;
  std::mutex mutex;
  std::condition_variable woken;
  int wakes = 0;
};

inline bool Eventually(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

inline std::uint64_t WrittenIn(const std::deque<SerialEvent>& events) {
  std::uint64_t written = 0;
  for (const SerialEvent& event : events) {
    if (event.kind == SerialEvent::Kind::Written) written += event.count;
  }
  return written;
}

// Takes events until the device is reported to have taken `bytes` written bytes.
inline std::uint64_t WaitForWritten(LinkUnderTest& t, std::uint64_t bytes) {
  std::uint64_t written = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (written < bytes && std::chrono::steady_clock::now() < deadline) {
    written += WrittenIn(t.link.TakeEvents());
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return written;
}

inline ByteFrame Concatenate(const std::vector<SerialEvent>& events) {
  ByteFrame all;
  for (const SerialEvent& event : events) all.insert(all.end(), event.bytes.begin(), event.bytes.end());
  return all;
}

}  // namespace portprobe
