// The client side of a network port, fed what any server might send, in pieces of any
// size, between settings asked for at any time. The data that comes out is never more
// than went in; each notice is told at most once; and any bytes sent as data, escaped
// for the wire, come back unchanged through a client that receives them.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "serial/rfc2217_client.h"

namespace {

using portprobe::ByteFrame;
using portprobe::Rfc2217Client;
using Clock = Rfc2217Client::Clock;

void RoundTrip(std::span<const std::uint8_t> data) {
  Rfc2217Client sender(Clock::now());
  sender.Outgoing().clear();
  sender.SendData(data);
  Rfc2217Client receiver(Clock::now());
  ByteFrame back;
  receiver.Receive(sender.Outgoing(), back, Clock::now());
  if (!std::equal(back.begin(), back.end(), data.begin(), data.end())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  RoundTrip(input);
  const Clock::time_point start = Clock::now();
  Rfc2217Client client(start);
  std::array<int, portprobe::kRemoteNoticeCount> told{};
  std::size_t fed = 0, received = 0;
  for (std::size_t i = 0; fed < size; ++i) {
    // Each piece's first byte says how long it is and what the user does before it.
    const std::uint8_t control = input[fed++];
    const std::size_t length = std::min<std::size_t>(control % 17, size - fed);
    const Clock::time_point now = start + std::chrono::seconds(i);
    switch (control >> 5) {
      case 0:
        client.SetLine({control * 1000u, control % 6 - 1, control % 5, control % 4}, now);
        break;
      case 1:
        client.SetControlLines(control & 1, control & 2, now);
        break;
      case 2:
        client.SetBreak(control & 1, now);
        break;
      default:
        break;
    }
    ByteFrame out;
    client.Receive(input.subspan(fed, length), out, now);
    received += out.size();
    fed += length;
    for (const portprobe::RemoteNotice notice : client.TakeNotices(now)) {
      if (++told[static_cast<std::size_t>(notice)] > 1) std::abort();
    }
    client.Outgoing().clear();
  }
  if (received > size) std::abort();
  return 0;
}
