#include "serial/network_address.h"

#include <algorithm>
#include <cctype>
#include <charconv>


namespace portprobe {

namespace {

constexpr std::string_view kRfc2217Scheme = "rfc2217://";
constexpr std::string_view kTcpScheme = "tcp://";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

bool IsNetworkPortName(std::string_view name) {
  return StartsWithIgnoringCase(name, kRfc2217Scheme) || StartsWithIgnoringCase(name, kTcpScheme);
}

bool IsRawTcpPortName(std::string_view name) { return StartsWithIgnoringCase(name, kTcpScheme); }

// HOST:PORT, where an IPv6 HOST stands in brackets since it holds colons itself.
std::optional<NetworkAddress> ParseNetworkAddress(std::string_view name) {
  NetworkAddress address;
  std::string_view rest;
  if (StartsWithIgnoringCase(name, kRfc2217Scheme)) {
    rest = name.substr(kRfc2217Scheme.size());
  } else if (StartsWithIgnoringCase(name, kTcpScheme)) {
    address.protocol = NetworkAddress::Protocol::RawTcp;
    rest = name.substr(kTcpScheme.size());
  } else {
    return std::nullopt;
  }
  const bool bracketed = rest.starts_with('[');
  const std::size_t hostEnd = bracketed ? rest.find(']') : rest.rfind(':');
  if (hostEnd == std::string_view::npos) return std::nullopt;
  address.host = std::string(bracketed ? rest.substr(1, hostEnd - 1) : rest.substr(0, hostEnd));
  if (address.host.empty()) return std::nullopt;
  std::string_view portText = rest.substr(hostEnd + (bracketed ? 1 : 0));
  if (!portText.starts_with(':') || portText.size() == 1) return std::nullopt;
  portText.remove_prefix(1);
  unsigned port = 0;
  const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
  if (error != std::errc() || end != portText.data() + portText.size() || port == 0 || port > 65535) {
    return std::nullopt;
  }
  address.port = static_cast<std::uint16_t>(port);
  return address;
}

}  // namespace portprobe
