// A non-blocking Winsock socket whose events (WSAEventSelect) are waited for beside
// the wake event. Winsock tells of room to send only after a send found none, and of
// bytes once per recv, so both are remembered until a call finds otherwise.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>

#include "serial/host_lookup.h"
#include "serial/tcp_connection.h"

namespace portprobe {

struct TcpConnection::Native {
  SOCKET socket = INVALID_SOCKET;
  HANDLE events = nullptr;  // the socket's, manual-reset
  HANDLE wake = nullptr;    // auto-reset
  bool readable = false;
  bool writable = true;
};

namespace {

using Clock = std::chrono::steady_clock;

// Winsock is started once for the program and left running.
bool StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

long RemainingMicroseconds(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::microseconds>(end - Clock::now()).count();
  return left > 0 ? static_cast<long>(left) : 0;
}

// A connect under way is waited for until `end`; the socket is left connected and
// non-blocking, with small writes (keys) sent at once.
PortDevice::Opening ConnectTo(const HostAddress& host, Clock::time_point end, SOCKET& connected) {
  sockaddr_storage address{};
  std::memcpy(&address, host.bytes.data(), std::min(host.bytes.size(), sizeof address));
  const SOCKET s = socket(host.family, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return PortDevice::Opening::Failed;
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  int error = 0;
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), static_cast<int>(host.bytes.size())) != 0) {
    error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      fd_set writable, failed;
      FD_ZERO(&writable);
      FD_ZERO(&failed);
      FD_SET(s, &writable);
      FD_SET(s, &failed);
      const long left = RemainingMicroseconds(end);
      timeval limit{left / 1'000'000, left % 1'000'000};
      const int ready = select(0, nullptr, &writable, &failed, &limit);
      int size = sizeof error;
      error = ready <= 0 ? WSAETIMEDOUT : 0;
      if (ready > 0) getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    }
  }
  if (error == 0) {
    const BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    connected = s;
    return PortDevice::Opening::Opened;
  }
  closesocket(s);
  if (error == WSAECONNREFUSED) return PortDevice::Opening::Refused;
  if (error == WSAETIMEDOUT) return PortDevice::Opening::TimedOut;
  return PortDevice::Opening::Failed;
}

}  // namespace

TcpConnection::TcpConnection() : native_(std::make_unique<Native>()) {}

TcpConnection::~TcpConnection() { Close(); }

// The socket's events are selected once it is connected.
PortDevice::Opening TcpConnection::Connect(const std::string& host, std::uint16_t port,
                                           std::chrono::milliseconds limit) {
  Close();
  if (!StartWinsock()) return PortDevice::Opening::Failed;
  const PortDevice::Opening opening =
      ConnectToHost(host, port, limit, [this](const HostAddress& address, Clock::time_point end) {
        return ConnectTo(address, end, native_->socket);
      });
  if (opening != PortDevice::Opening::Opened) return opening;
  native_->events = WSACreateEvent();
  if (native_->events == WSA_INVALID_EVENT ||
      WSAEventSelect(native_->socket, native_->events, FD_READ | FD_WRITE | FD_CLOSE) != 0) {
    Close();
    return PortDevice::Opening::Failed;
  }
  native_->readable = false;
  native_->writable = true;
  return opening;
}

bool TcpConnection::IsOpen() const { return native_->socket != INVALID_SOCKET; }

void TcpConnection::Close() {
  if (native_->socket != INVALID_SOCKET) closesocket(native_->socket);
  if (native_->events != nullptr && native_->events != WSA_INVALID_EVENT) WSACloseEvent(native_->events);
  if (native_->wake != nullptr) CloseHandle(native_->wake);
  native_->socket = INVALID_SOCKET;
  native_->events = native_->wake = nullptr;
}

bool TcpConnection::CreateWake() {
  native_->wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  return native_->wake != nullptr;
}

void TcpConnection::Wake() {
  if (native_->wake != nullptr) SetEvent(native_->wake);
}

std::optional<PortDevice::Readiness> TcpConnection::Wait(bool read, bool write, int timeoutMilliseconds) {
  Native& native = *native_;
  const bool ready = (read && native.readable) || (write && native.writable);
  const HANDLE handles[2] = {native.wake, native.events};
  const DWORD waited =
      WaitForMultipleObjects(2, handles, FALSE, ready ? 0 : timeoutMilliseconds < 0 ? INFINITE : timeoutMilliseconds);
  if (waited == WAIT_OBJECT_0) return PortDevice::Readiness{.woken = true};
  if (waited == WAIT_FAILED) return std::nullopt;
  bool closed = false;
  WSANETWORKEVENTS happened{};
  if (waited == WAIT_OBJECT_0 + 1 && WSAEnumNetworkEvents(native.socket, native.events, &happened) == 0) {
    if (happened.lNetworkEvents & (FD_READ | FD_CLOSE)) native.readable = true;
    if (happened.lNetworkEvents & FD_WRITE) native.writable = true;
    closed = (happened.lNetworkEvents & FD_CLOSE) != 0;
  }
  return PortDevice::Readiness{.readable = read && native.readable,
                               .writable = write && native.writable,
                               .hungUp = closed && !read};
}

std::optional<std::size_t> TcpConnection::Receive(std::span<std::uint8_t> buffer) {
  const int n = recv(native_->socket, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0);
  if (n > 0) return static_cast<std::size_t>(n);
  if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) {
    native_->readable = false;
    return 0;
  }
  return std::nullopt;
}

std::optional<std::size_t> TcpConnection::Send(std::span<const std::uint8_t> bytes) {
  const int n = send(native_->socket, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), 0);
  if (n >= 0) return static_cast<std::size_t>(n);
  if (WSAGetLastError() == WSAEWOULDBLOCK) {
    native_->writable = false;
    return 0;
  }
  return std::nullopt;
}

}  // namespace portprobe
