// A non-blocking TCP socket polled beside an eventfd.
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "serial/host_lookup.h"
#include "serial/tcp_connection.h"
#include "serial/wake_poll_linux.h"

namespace portprobe {

struct TcpConnection::Native {
  int fd = -1;
  int wakeFd = -1;
};

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMilliseconds(Clock::time_point end) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// A connect under way is waited for until `end`; the socket is left connected and
// non-blocking, with small writes (keys) sent at once.
PortDevice::Opening ConnectTo(const HostAddress& host, Clock::time_point end, int& fd) {
  sockaddr_storage address{};
  std::memcpy(&address, host.bytes.data(), std::min(host.bytes.size(), sizeof address));
  fd = ::socket(host.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return PortDevice::Opening::Failed;
  int error = 0;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), static_cast<socklen_t>(host.bytes.size())) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      pollfd pending{fd, POLLOUT, 0};
      const int ready = ::poll(&pending, 1, RemainingMilliseconds(end));
      socklen_t size = sizeof error;
      error = ready <= 0 ? ETIMEDOUT : 0;
      if (ready > 0) ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
    }
  }
  if (error == 0) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return PortDevice::Opening::Opened;
  }
  ::close(fd);
  fd = -1;
  if (error == ECONNREFUSED) return PortDevice::Opening::Refused;
  if (error == ETIMEDOUT) return PortDevice::Opening::TimedOut;
  return PortDevice::Opening::Failed;
}

}  // namespace

TcpConnection::TcpConnection() : native_(std::make_unique<Native>()) {}

TcpConnection::~TcpConnection() { Close(); }

PortDevice::Opening TcpConnection::Connect(const std::string& host, std::uint16_t port,
                                           std::chrono::milliseconds limit) {
  Close();
  return ConnectToHost(host, port, limit, [this](const HostAddress& address, Clock::time_point end) {
    return ConnectTo(address, end, native_->fd);
  });
}

bool TcpConnection::IsOpen() const { return native_->fd >= 0; }

void TcpConnection::Close() {
  if (native_->wakeFd >= 0) ::close(native_->wakeFd);
  if (native_->fd >= 0) ::close(native_->fd);
  native_->wakeFd = native_->fd = -1;
}

bool TcpConnection::CreateWake() {
  native_->wakeFd = CreateWakeFd();
  return native_->wakeFd >= 0;
}

void TcpConnection::Wake() { SignalWake(native_->wakeFd); }

std::optional<PortDevice::Readiness> TcpConnection::Wait(bool read, bool write, int timeoutMilliseconds) {
  return PollBesideWake(native_->fd, native_->wakeFd, read, write, timeoutMilliseconds);
}

std::optional<std::size_t> TcpConnection::Receive(std::span<std::uint8_t> buffer) {
  ssize_t n;
  do {
    n = ::recv(native_->fd, buffer.data(), buffer.size(), 0);
  } while (n < 0 && errno == EINTR);
  if (n > 0) return static_cast<std::size_t>(n);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
  return std::nullopt;
}

std::optional<std::size_t> TcpConnection::Send(std::span<const std::uint8_t> bytes) {
  ssize_t n;
  do {
    n = ::send(native_->fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  } while (n < 0 && errno == EINTR);
  if (n >= 0) return static_cast<std::size_t>(n);
  if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
  return std::nullopt;
}

}  // namespace portprobe
