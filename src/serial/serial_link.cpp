#include "serial/serial_link.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "serial/device_holders.h"
#include "serial/network_address.h"

namespace portprobe {

namespace {

// A worker that is far ahead of the user interface stops reading until the
// interface catches up; the device's own buffering then holds the data back.
constexpr std::size_t kQueueHighWater = 16u << 20;

// An exclusive mark that no running program explains was left by one that ended
// without closing the device (killed), which only an unplug or root clears.
SerialLink::OpenResult OpenFailure(PortDevice::Opening opening, const std::string& devicePath) {
  using enum PortDevice::Opening;
  switch (opening) {
    case Missing:
      return SerialLink::OpenResult::Missing;
    case Held:
      return SerialLink::OpenResult::Held;
    case ExclusiveLock:
      return FindDeviceHolders(devicePath).empty() ? SerialLink::OpenResult::StaleLock : SerialLink::OpenResult::Held;
    case Denied:
      return SerialLink::OpenResult::Denied;
    case NotAPort:
      return SerialLink::OpenResult::NotAPort;
    case BadAddress:
      return SerialLink::OpenResult::BadAddress;
    case NoSuchHost:
      return SerialLink::OpenResult::NoSuchHost;
    case Refused:
      return SerialLink::OpenResult::Refused;
    case TimedOut:
      return SerialLink::OpenResult::TimedOut;
    case Opened:
    case Failed:
      break;
  }
  return SerialLink::OpenResult::OpenFailed;
}

}  // namespace

SerialLink::SerialLink(std::function<void()> wake) : wake_(std::move(wake)) {}

SerialLink::~SerialLink() { ClosePort(); }

SerialLink::OpenResult SerialLink::OpenPort(const std::string& devicePath, const LineSettings& settings,
                                            Attempt attempt) {
  ClosePort();
  const bool network = IsNetworkPortName(devicePath);
  device_ = network ? static_cast<PortDevice*>(&networkDevice_) : &serialDevice_;
  PortDevice& device = *device_;
  const PortDevice::Opening opening = network && attempt == Attempt::Retry
                                          ? networkDevice_.Open(devicePath, kRetryWait)
                                          : device.Open(devicePath);
  if (opening != PortDevice::Opening::Opened) return OpenFailure(opening, devicePath);
  const ApplyResult applied = device.ApplySettings(settings);
  if (applied != ApplyResult::Applied) {
    CloseDevice();
    return applied == ApplyResult::NotATerminal ? OpenResult::NotAPort : OpenResult::SettingsRefused;
  }
  flowControl_ = settings.flowControl;
  modem_.Attach(device);
  if (!device.CreateWake()) {
    CloseDevice();
    return OpenResult::EventFailed;
  }
  device.ResetLineErrors();
  stopping_ = false;
  ++connection_;
  {
    std::lock_guard lock(writeMutex_);
    writerGone_ = false;
  }
  try {
    worker_ = std::thread(&SerialLink::CommEventWorker, this);
  } catch (const std::system_error&) {
    EndWorker(false);
    CloseDevice();
    return OpenResult::ThreadFailed;
  }
  return OpenResult::Opened;
}

std::size_t SerialLink::ClosePort() {
  if (worker_.joinable()) {
    {
      // Under the queue's lock, so that a worker about to wait for room sees it.
      std::lock_guard lock(queueMutex_);
      stopping_ = true;
    }
    WakeWorker();
    queueDrained_.notify_all();
    worker_.join();
  }
  const std::size_t dropped = DropQueuedWrites();
  CloseDevice();
  return dropped;
}

// The device is given back as it was found: its own settings, and open to others.
void SerialLink::CloseDevice() {
  if (Device().IsOpen()) modem_.Detach(Device());
  Device().Close();
}

ApplyResult SerialLink::ApplyLineSettings(const LineSettings& settings) {
  if (!IsOpen()) return ApplyResult::NotATerminal;
  const ApplyResult applied = Device().ApplySettings(settings);
  if (applied == ApplyResult::Applied) flowControl_ = settings.flowControl;
  return applied;
}

void SerialLink::SetModemOutputs(bool rts, bool dtr) {
  modem_.SetOutputs(rts, dtr);
  WakeWorker();
}

void SerialLink::SendBreak() {
  if (!IsOpen()) return;
  modem_.RequestBreak();
  WakeWorker();
}

std::size_t SerialLink::QueueWrite(std::span<const std::uint8_t> bytes, WriteOutcome* outcome) {
  WriteOutcome result = WriteOutcome::Failed;
  std::size_t taken = 0;
  bool wasEmpty = false;
  if (IsOpen() && !bytes.empty() && Device().TakeLineErrors()) {
    DropQueuedWrites();
    Device().FlushOutput();
    result = WriteOutcome::LineError;
  } else if (IsOpen()) {
    std::lock_guard lock(writeMutex_);
    if (!writerGone_) {
      taken = std::min(bytes.size(), kWriteQueueCapacity - std::min(writeQueue_.size(), kWriteQueueCapacity));
      wasEmpty = writeQueue_.empty();
      if (wasEmpty) lastWriteProgress_ = std::chrono::steady_clock::now();
      writeQueue_.insert(writeQueue_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(taken));
      result = WriteOutcome::Queued;
    }
  }
  if (wasEmpty && taken > 0) WakeWorker();  // it starts watching for room to write
  if (outcome != nullptr) *outcome = result;
  return taken;
}

std::size_t SerialLink::QueueWriteWaiting(std::span<const std::uint8_t> bytes, WriteOutcome* outcome,
                                          const std::atomic<bool>* cancel) {
  constexpr auto kCancelCheck = std::chrono::milliseconds(50);
  std::size_t queued = 0;
  WriteOutcome result = WriteOutcome::Queued;
  while (queued < bytes.size() && result == WriteOutcome::Queued && !(cancel != nullptr && *cancel)) {
    queued += QueueWrite(bytes.subspan(queued), &result);
    if (queued == bytes.size()) break;
    std::unique_lock lock(writeMutex_);
    writeRoom_.wait_for(lock, kCancelCheck, [this] { return writerGone_ || writeQueue_.size() < kWriteQueueCapacity; });
  }
  if (outcome != nullptr)
    *outcome = queued < bytes.size() && result == WriteOutcome::Queued ? WriteOutcome::Failed : result;
  return queued;
}

std::size_t SerialLink::QueuedWriteBytes() const {
  std::lock_guard lock(writeMutex_);
  return writeQueue_.size();
}

bool SerialLink::WriteBlocked() const {
  std::lock_guard lock(writeMutex_);
  return !writeQueue_.empty() && std::chrono::steady_clock::now() - lastWriteProgress_ >= kWriteBlockedAfter;
}

std::size_t SerialLink::DropQueuedWrites() {
  std::size_t dropped = 0;
  {
    std::lock_guard lock(writeMutex_);
    dropped = writeQueue_.size();
    writeQueue_.clear();
  }
  writeRoom_.notify_all();
  return dropped;
}

std::deque<SerialEvent> SerialLink::TakeEvents() {
  std::deque<SerialEvent> events;
  bool wasFull = false;
  {
    std::lock_guard lock(queueMutex_);
    events.swap(queue_);
    wasFull = queuedBytes_ >= kQueueHighWater;
    queuedBytes_ = 0;
  }
  queueDrained_.notify_all();
  if (wasFull) WakeWorker();  // it reads again
  return events;
}

// Written counts that the owner has not taken yet are added up into one event.
void SerialLink::Queue(SerialEvent::Kind kind, ByteFrame bytes, std::uint64_t count) {
  SerialEvent event{kind, std::move(bytes), CurrentTick(), connection_, count, std::chrono::system_clock::now()};
  bool wasEmpty = false;
  {
    std::lock_guard lock(queueMutex_);
    if (kind == SerialEvent::Kind::Written && !queue_.empty() && queue_.back().kind == kind) {
      queue_.back().count += count;
      return;
    }
    wasEmpty = queue_.empty();
    queuedBytes_ += event.bytes.size();
    queue_.push_back(std::move(event));
  }
  if (wasEmpty) wake_();
}

bool SerialLink::ReceiveQueueHasRoom() {
  std::lock_guard lock(queueMutex_);
  return queuedBytes_ < kQueueHighWater;
}

void SerialLink::WaitWhileQueueIsFull() {
  std::unique_lock lock(queueMutex_);
  queueDrained_.wait(lock, [this] { return stopping_ || queuedBytes_ < kQueueHighWater; });
}

void SerialLink::WakeWorker() { Device().Wake(); }

// A worker that is far ahead of the owner stops reading but goes on writing.
void SerialLink::CommEventWorker() {
  while (!stopping_) {
    ServiceModemLines();
    const bool roomToRead = ReceiveQueueHasRoom();
    const bool writing = QueuedWriteBytes() > 0 && !modem_.BreakOn();
    const std::optional<PortDevice::Readiness> ready =
        Device().Wait(roomToRead, writing, modem_.WaitMilliseconds(std::chrono::steady_clock::now()));
    if (!ready) break;  // the wait itself failed: end quietly, as the port stays nominally open
    for (const RemoteNotice notice : Device().TakeNotices()) Queue(SerialEvent::Kind::RemoteNotice, {}, static_cast<std::uint64_t>(notice));
    if (ready->woken) continue;
    if (!ready->readable && !ready->writable && !ready->hungUp) continue;  // the modem lines are due
    const bool gone = (ready->readable && !HandleRxEvent()) || (ready->writable && !WriteQueued());
    if (!gone && (ready->readable || ready->writable)) continue;
    if (!gone && !roomToRead) {
      WaitWhileQueueIsFull();  // what the device sent before it went away is read first
      continue;
    }
    return EndWorker(true);
  }
  EndWorker(false);
}

void SerialLink::ServiceModemLines() {
  if (const auto inputs = modem_.Service(Device(), std::chrono::steady_clock::now())) {
    Queue(SerialEvent::Kind::ModemLines, {}, *inputs);
  }
}

// Nothing is written once the worker has ended. After a hang-up the bytes still
// queued can never go out; they are dropped and counted in the hang-up's event.
void SerialLink::EndWorker(bool hungUp) {
  {
    std::lock_guard lock(writeMutex_);
    writerGone_ = true;
  }
  writeRoom_.notify_all();
  if (hungUp) Queue(SerialEvent::Kind::HangUp, {}, DropQueuedWrites());
}

// Writes what the device takes at once from the front of the queue. False when the
// device has gone away.
bool SerialLink::WriteQueued() {
  std::uint8_t piece[kBatchCapacity];
  std::size_t n = 0;
  {
    std::lock_guard lock(writeMutex_);
    const std::size_t length = std::min(writeQueue_.size(), sizeof piece);
    std::copy_n(writeQueue_.begin(), length, piece);
    const std::optional<std::size_t> written = Device().Write({piece, length});
    if (!written || *written == 0) return written.has_value();
    n = *written;
    writeQueue_.erase(writeQueue_.begin(), writeQueue_.begin() + static_cast<std::ptrdiff_t>(n));
    lastWriteProgress_ = std::chrono::steady_clock::now();
  }
  writeRoom_.notify_all();
  Queue(SerialEvent::Kind::Written, {}, n);
  return true;
}

// Reads one batch. False when the device has gone away.
bool SerialLink::HandleRxEvent() {
  std::uint8_t buffer[kBatchCapacity];
  bool failed = false;
  const std::size_t count = ReadAvailable(buffer, sizeof buffer, &failed);
  if (failed) return false;
  if (count > 0) Queue(SerialEvent::Kind::Batch, ByteFrame(buffer, buffer + count));
  return true;
}

std::size_t SerialLink::ReadAvailable(std::uint8_t* buffer, std::size_t capacity, bool* failed) {
  if (Device().TakeLineErrors()) {
    Device().FlushInput();
    Queue(SerialEvent::Kind::LineError);
    Queue(SerialEvent::Kind::ReadError);
    return 0;
  }
  const std::optional<std::size_t> n = Device().Read({buffer, capacity});
  *failed = !n;
  return n.value_or(0);
}

}  // namespace portprobe
