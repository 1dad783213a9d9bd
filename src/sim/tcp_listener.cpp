#include "sim/tcp_listener.h"

#include <netdb.h>
#include <sys/socket.h>

#include <cerrno>
#include <system_error>

#include "serial/network_address.h"

namespace portprobe::sim {

namespace {

[[noreturn]] void ThrowErrno(int error, const char* what) {
  throw std::system_error(error, std::generic_category(), what);
}

// The first of the host's addresses that can be bound.
int Listen(const NetworkAddress& address) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (const int error = ::getaddrinfo(address.host.c_str(), std::to_string(address.port).c_str(), &hints, &list)) {
    throw std::system_error(std::make_error_code(std::errc::host_unreachable), ::gai_strerror(error));
  }
  int fd = -1, error = 0;
  for (const addrinfo* entry = list; entry != nullptr && fd < 0; entry = entry->ai_next) {
    fd = ::socket(entry->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (fd >= 0) ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (fd >= 0 && (::bind(fd, entry->ai_addr, entry->ai_addrlen) != 0 || ::listen(fd, 1) != 0)) {
      error = errno;
      ::close(fd);
      fd = -1;
    }
  }
  ::freeaddrinfo(list);
  if (fd < 0) ThrowErrno(error, "--listen");
  return fd;
}

}  // namespace

TcpListener::TcpListener(const std::string& address) : name_(address) {
  const std::optional<NetworkAddress> parsed = ParseNetworkAddress(address);
  if (!parsed) throw std::system_error(std::make_error_code(std::errc::invalid_argument), "--listen");
  listener_.reset(Listen(*parsed));
}

bool TcpListener::TerminalThere() {
  if (connection_.get() < 0) connection_.reset(::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
  return connection_.get() >= 0;
}

}  // namespace portprobe::sim
