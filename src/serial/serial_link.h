#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "serial/line_settings.h"
#include "serial/modem_lines.h"
#include "serial/network_device.h"
#include "serial/serial_device.h"
#include "serial/serial_event.h"

namespace portprobe {

// The one serial port that can be open at a time, with the worker thread that reads
// and writes it. The worker never waits for the user interface: it stamps each batch
// with its arrival tick and queues it, and reports the bytes it wrote the same way;
// the queue's owner is woken once whenever the queue stops being empty, and takes
// everything queued at once. Writes are only queued by the caller, so a device that
// takes nothing never holds up the caller.
class SerialLink {
 public:
  enum class OpenResult {
    Opened,
    OpenFailed,  // for a reason the system did not name
    Missing,
    Held,
    StaleLock,  // locked for exclusive use by a program that has ended
    Denied,
    NotAPort,   // a folder, a file or a device with no line settings
    SettingsRefused,
    EventFailed,
    ThreadFailed,
    // A port on the network:
    BadAddress,
    NoSuchHost,
    Refused,
    TimedOut,
  };
  // The device itself could not be had: it may still come (back), unlike a device that
  // opened but is no port or refused the settings.
  static bool DeviceUnavailable(OpenResult result) {
    return result == OpenResult::OpenFailed || result == OpenResult::Missing || result == OpenResult::Held ||
           result == OpenResult::StaleLock || result == OpenResult::Denied || result == OpenResult::NoSuchHost ||
           result == OpenResult::Refused || result == OpenResult::TimedOut;
  }
  enum class WriteOutcome { Queued, LineError, Failed };

  static constexpr std::size_t kBatchCapacity = 4096;
  static constexpr std::size_t kWriteQueueCapacity = std::size_t{1} << 20;
  // Queued bytes that the device has not taken for this long make the link blocked.
  static constexpr std::chrono::milliseconds kWriteBlockedAfter{1000};

  // `wake` runs on the worker thread; it must only post a wake-up, never block.
  explicit SerialLink(std::function<void()> wake);
  ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // A retry of a port on the network waits only briefly for the connect, which goes
  // on for the next retry: the caller's thread (the window's) never waits long.
  enum class Attempt { First, Retry };
  static constexpr std::chrono::milliseconds kRetryWait{50};
  // Opens the device exclusively (or connects to a port on the network), applies the
  // settings and starts the worker.
  OpenResult OpenPort(const std::string& devicePath, const LineSettings& settings, Attempt attempt = Attempt::First);
  // Stops the worker, waits for it and closes the device, giving it back with the
  // settings it had and not exclusive. Returns promptly however fast data arrives and
  // whether or not the device takes data; returns the count of queued bytes dropped.
  std::size_t ClosePort();
  bool IsOpen() const { return Device().IsOpen(); }

  // Applies settings to the open port; NotATerminal when no port is open.
  ApplyResult ApplyLineSettings(const LineSettings& settings);
  // The flow control that the open port was last given.
  FlowControl LineFlowControl() const { return flowControl_; }

  // RTS and DTR from now on and at every open; the worker sets them, so this returns at once.
  void SetModemOutputs(bool rts, bool dtr);
  // A break of ModemLines::kBreakDuration on the open port, held by the worker; the
  // bytes queued meanwhile go out after it.
  void SendBreak();
  // Whether the open port has modem lines; the worker reports them as ModemLines
  // events whenever they change.
  bool ModemLinesSupported() const { return IsOpen() && modem_.Supported(); }

  // Queues as many of the bytes as the write queue has room for and returns that
  // count. Pending line errors discard the queue and the driver's output instead
  // (LineError); a closed or vanished port takes nothing (Failed).
  std::size_t QueueWrite(std::span<const std::uint8_t> bytes, WriteOutcome* outcome = nullptr);
  // Queues all bytes, waiting for room as the device takes them; for a sender that
  // runs beside the caller's thread. Ends early at a line error, when the device goes
  // away or is closed, or when `cancel` is set. Returns the count queued.
  std::size_t QueueWriteWaiting(std::span<const std::uint8_t> bytes, WriteOutcome* outcome,
                                const std::atomic<bool>* cancel);
  std::size_t QueuedWriteBytes() const;
  bool WriteQueueFull() const { return QueuedWriteBytes() >= kWriteQueueCapacity; }
  // Bytes are queued and the device has taken none of them for kWriteBlockedAfter.
  bool WriteBlocked() const;

  // Everything the worker queued since the last call, in order.
  std::deque<SerialEvent> TakeEvents();

  // Counts the connections opened so far; events carry the count of theirs.
  std::uint32_t Connection() const { return connection_; }

 private:
  void CommEventWorker();
  void ServiceModemLines();
  bool HandleRxEvent();
  std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t capacity, bool* failed);
  bool WriteQueued();
  void EndWorker(bool hungUp);
  std::size_t DropQueuedWrites();
  void Queue(SerialEvent::Kind kind, ByteFrame bytes = {}, std::uint64_t count = 0);
  bool ReceiveQueueHasRoom();
  void WaitWhileQueueIsFull();
  void WakeWorker();
  void CloseDevice();
  PortDevice& Device() const { return *device_.load(); }

  std::function<void()> wake_;
  SerialDevice serialDevice_;
  NetworkDevice networkDevice_;
  // One of the two, chosen at each open.
  std::atomic<PortDevice*> device_{&serialDevice_};
  std::thread worker_;
  std::atomic<bool> stopping_{false};
  std::uint32_t connection_ = 0;
  FlowControl flowControl_ = FlowControl::None;
  ModemLines modem_;

  std::mutex queueMutex_;
  std::condition_variable queueDrained_;
  std::deque<SerialEvent> queue_;
  std::size_t queuedBytes_ = 0;

  // Bytes waiting to be written, oldest first; the worker writes from the front.
  mutable std::mutex writeMutex_;
  std::condition_variable writeRoom_;
  std::deque<std::uint8_t> writeQueue_;
  bool writerGone_ = true;  // no worker takes queued bytes
  std::chrono::steady_clock::time_point lastWriteProgress_;
};

}  // namespace portprobe
