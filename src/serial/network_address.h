#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>


namespace portprobe {

// A port on another machine, as typed into the port box or given to --port:
// rfc2217://HOST:PORT (a serial port served over Telnet with its line settings and
// modem lines) or tcp://HOST:PORT (bytes only). HOST may be a name, an IPv4 address
// or an IPv6 address in brackets.
struct NetworkAddress {
  enum class Protocol { Rfc2217, RawTcp };
  Protocol protocol = Protocol::Rfc2217;
  std::string host;
  std::uint16_t port = 0;
};

// Whether a port name means a port on another machine (it may still be malformed).
bool IsNetworkPortName(std::string_view name);
// Whether it is one that carries bytes only, with no line settings.
bool IsRawTcpPortName(std::string_view name);
// Nothing when the host or the port is missing, or the port is not 1 to 65535.
std::optional<NetworkAddress> ParseNetworkAddress(std::string_view name);

}  // namespace portprobe
