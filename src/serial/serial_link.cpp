#include "serial/serial_link.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace portprobe {

namespace {

// A worker that is far ahead of the user interface stops reading until the
// interface catches up; the device's own buffering then holds the data back.
constexpr std::size_t kQueueHighWater = 16u << 20;

int OpenExclusive(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  ::ioctl(fd, TIOCEXCL);  // not a tty: the settings step reports it
  return fd;
}

bool WaitWritable(int fd, int milliseconds) {
  pollfd pfd{fd, POLLOUT, 0};
  const int ready = ::poll(&pfd, 1, milliseconds);
  return ready > 0 && (pfd.revents & POLLOUT);
}

}  // namespace

SerialLink::SerialLink(std::function<void()> wake) : wake_(std::move(wake)) {}

SerialLink::~SerialLink() { ClosePort(); }

SerialLink::OpenResult SerialLink::OpenPort(const std::string& devicePath, const LineSettings& settings) {
  ClosePort();
  fd_ = OpenExclusive(devicePath);
  if (fd_ < 0) return OpenResult::OpenFailed;
  const ApplyResult applied = portprobe::ApplyLineSettings(fd_, settings);
  if (applied != ApplyResult::Applied) {
    CloseDevice();
    return applied == ApplyResult::NotATerminal ? OpenResult::SettingsUnreadable : OpenResult::SettingsRefused;
  }
  stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stopFd_ < 0) {
    CloseDevice();
    return OpenResult::EventFailed;
  }
  lineErrors_.Reset(fd_);
  stopping_ = false;
  ++connection_;
  try {
    worker_ = std::thread(&SerialLink::CommEventWorker, this);
  } catch (const std::system_error&) {
    CloseDevice();
    return OpenResult::ThreadFailed;
  }
  return OpenResult::Opened;
}

void SerialLink::ClosePort() {
  if (worker_.joinable()) {
    {
      // Under the queue's lock, so that a worker about to wait for room sees it.
      std::lock_guard lock(queueMutex_);
      stopping_ = true;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopFd_, &one, sizeof one);
    queueDrained_.notify_all();
    worker_.join();
  }
  CloseDevice();
}

void SerialLink::CloseDevice() {
  if (stopFd_ >= 0) ::close(stopFd_);
  if (fd_ >= 0) ::close(fd_);
  stopFd_ = -1;
  fd_ = -1;
}

ApplyResult SerialLink::ApplyLineSettings(const LineSettings& settings) {
  return IsOpen() ? portprobe::ApplyLineSettings(fd_, settings) : ApplyResult::NotATerminal;
}

std::uint32_t SerialLink::WriteBytes(const std::uint8_t* bytes, std::uint32_t length, WriteOutcome* outcome,
                                     const std::atomic<bool>* cancel) {
  WriteOutcome result = WriteOutcome::Failed;
  std::uint32_t written = 0;
  if (IsOpen() && length > 0) {
    if (lineErrors_.TakeErrors(fd_)) {
      ::tcflush(fd_, TCOFLUSH);
      result = WriteOutcome::LineError;
    } else {
      int stalled = 0;
      while (written < length && stalled < kWriteStallMilliseconds && !(cancel != nullptr && *cancel)) {
        const ssize_t n = ::write(fd_, bytes + written, length - written);
        if (n > 0) {
          written += static_cast<std::uint32_t>(n);
          stalled = 0;
        } else if (n < 0 && errno == EINTR) {
          continue;
        } else if (n < 0 && errno == EAGAIN) {
          constexpr int kSlice = 100;
          if (!WaitWritable(fd_, kSlice)) stalled += kSlice;
        } else {
          break;
        }
      }
      result = written == length ? WriteOutcome::Written : WriteOutcome::Failed;
    }
  }
  if (outcome != nullptr) *outcome = result;
  return written;
}

std::deque<SerialEvent> SerialLink::TakeEvents() {
  std::deque<SerialEvent> events;
  {
    std::lock_guard lock(queueMutex_);
    events.swap(queue_);
    queuedBytes_ = 0;
  }
  queueDrained_.notify_all();
  return events;
}

void SerialLink::Queue(SerialEvent::Kind kind, ByteFrame bytes) {
  SerialEvent event{kind, std::move(bytes), CurrentTick(), connection_};
  bool wasEmpty = false;
  {
    std::lock_guard lock(queueMutex_);
    wasEmpty = queue_.empty();
    queuedBytes_ += event.bytes.size();
    queue_.push_back(std::move(event));
  }
  if (wasEmpty) wake_();
}

void SerialLink::WaitWhileQueueIsFull() {
  std::unique_lock lock(queueMutex_);
  queueDrained_.wait(lock, [this] { return stopping_ || queuedBytes_ < kQueueHighWater; });
}

void SerialLink::CommEventWorker() {
  while (!stopping_) {
    WaitWhileQueueIsFull();
    pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;  // the wait itself failed: end quietly, as the port stays nominally open
    }
    if (fds[1].revents != 0 || stopping_) return;
    if ((fds[0].revents & POLLIN) && HandleRxEvent()) continue;
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
      Queue(SerialEvent::Kind::HangUp);
      return;
    }
  }
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
  if (lineErrors_.TakeErrors(fd_)) {
    ::tcflush(fd_, TCIFLUSH);
    Queue(SerialEvent::Kind::LineError);
    Queue(SerialEvent::Kind::ReadError);
    return 0;
  }
  ssize_t n;
  do {
    n = ::read(fd_, buffer, capacity);
  } while (n < 0 && errno == EINTR);
  if (n > 0) return static_cast<std::size_t>(n);
  // End of file or EIO: the far end is gone. EAGAIN: someone else took the bytes.
  *failed = n == 0 || errno != EAGAIN;
  return 0;
}

}  // namespace portprobe
