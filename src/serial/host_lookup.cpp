#include "serial/host_lookup.h"

// getaddrinfo is the same call on both systems; only its header differs.
#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include <optional>

#include "common/call_within.h"

namespace portprobe {

namespace {

struct Lookup {
  int error = 0;
  std::vector<HostAddress> addresses;
};

Lookup Resolve(const std::string& host, std::uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  Lookup lookup;
  lookup.error = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
  for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(entry->ai_addr);
    lookup.addresses.push_back({entry->ai_family, {bytes, bytes + entry->ai_addrlen}});
  }
  if (list != nullptr) freeaddrinfo(list);
  return lookup;
}

}  // namespace

PortDevice::Opening ConnectToHost(const std::string& host, std::uint16_t port, std::chrono::milliseconds limit,
                                  const ConnectOne& connectOne) {
  const auto end = std::chrono::steady_clock::now() + limit;
  const std::optional<Lookup> lookup = CallWithin<Lookup>(limit, [host, port] { return Resolve(host, port); });
  if (!lookup) return PortDevice::Opening::TimedOut;
  if (lookup->error != 0 || lookup->addresses.empty()) return PortDevice::Opening::NoSuchHost;
  PortDevice::Opening opening = PortDevice::Opening::Failed;
  for (const HostAddress& address : lookup->addresses) {
    opening = connectOne(address, end);
    if (opening == PortDevice::Opening::Opened || opening == PortDevice::Opening::TimedOut) break;
  }
  return opening;
}

}  // namespace portprobe
