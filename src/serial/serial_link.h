#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "serial/line_errors.h"
#include "serial/line_settings.h"
#include "serial/serial_event.h"

namespace portprobe {

// The one serial port that can be open at a time, with the worker thread that reads
// it. The worker never waits for the user interface: it stamps each batch with its
// arrival tick and queues it; the queue's owner is woken once whenever the queue
// stops being empty, and takes everything queued at once.
class SerialLink {
 public:
  enum class OpenResult { Opened, OpenFailed, SettingsUnreadable, SettingsRefused, EventFailed, ThreadFailed };
  enum class WriteOutcome { Written, LineError, Failed };

  static constexpr std::size_t kBatchCapacity = 4096;

  // `wake` runs on the worker thread; it must only post a wake-up, never block.
  explicit SerialLink(std::function<void()> wake);
  ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // Opens the device exclusively, applies the settings and starts the worker.
  OpenResult OpenPort(const std::string& devicePath, const LineSettings& settings);
  // Stops the worker, waits for it and closes the device. Returns promptly however
  // fast data arrives.
  void ClosePort();
  bool IsOpen() const { return fd_ >= 0; }

  // Applies settings to the open port; NotATerminal when no port is open.
  ApplyResult ApplyLineSettings(const LineSettings& settings);

  // Writes all bytes unless the line reports errors, the device fails, it takes no
  // byte for kWriteStallMilliseconds, or `cancel` is set. Returns the count written.
  // Safe to call from one thread besides the worker while the port stays open.
  std::uint32_t WriteBytes(const std::uint8_t* bytes, std::uint32_t length, WriteOutcome* outcome = nullptr,
                           const std::atomic<bool>* cancel = nullptr);

  // Everything the worker queued since the last call, in order.
  std::deque<SerialEvent> TakeEvents();

  // Counts the connections opened so far; events carry the count of theirs.
  std::uint32_t Connection() const { return connection_; }

  static constexpr int kWriteStallMilliseconds = 5000;

 private:
  void CommEventWorker();
  bool HandleRxEvent();
  std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t capacity, bool* failed);
  void Queue(SerialEvent::Kind kind, ByteFrame bytes = {});
  void WaitWhileQueueIsFull();
  void CloseDevice();

  std::function<void()> wake_;
  int fd_ = -1;
  int stopFd_ = -1;
  std::thread worker_;
  std::atomic<bool> stopping_{false};
  std::uint32_t connection_ = 0;
  LineErrorCounters lineErrors_;

  std::mutex queueMutex_;
  std::condition_variable queueDrained_;
  std::deque<SerialEvent> queue_;
  std::size_t queuedBytes_ = 0;
};

}  // namespace portprobe
