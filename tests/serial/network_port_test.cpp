// Ports on the network against Debian's ser2net serving a pseudo-terminal on the
// loopback address, and against servers that answer wrongly or not at all.
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "serial/link_under_test.h"
#include "serial/termios_rows.h"
#include "support/pty_pair.h"
#include "support/ser2net_server.h"

namespace portprobe {
namespace {

using namespace std::chrono_literals;
using testing::PtyPair;
using testing::RandomBytes;
using testing::Ser2netServer;

struct termios2 FarSettings(const PtyPair& pty) {
  struct termios2 tio {};
  ::ioctl(pty.MasterFd(), TCGETS2, &tio);
  return tio;
}

ByteFrame AllByteValues() {
  ByteFrame bytes(256);
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  return bytes;
}

std::vector<RemoteNotice> NoticesIn(const std::vector<SerialEvent>& events) {
  std::vector<RemoteNotice> notices;
  for (const SerialEvent& event : events) {
    if (event.kind == SerialEvent::Kind::RemoteNotice) notices.push_back(static_cast<RemoteNotice>(event.count));
  }
  return notices;
}

// Bytes of the far end in, bytes of the link out, both exact.
void ExpectExactBothWays(LinkUnderTest& t, PtyPair& pty, const ByteFrame& bytes) {
  EXPECT_EQ(t.link.QueueWrite(bytes), bytes.size());
  EXPECT_EQ(pty.Read(bytes.size()), bytes);
  std::thread device([&] { pty.Write(bytes); });
  const std::vector<SerialEvent> events = t.Collect(bytes.size());
  device.join();
  EXPECT_EQ(Concatenate(events), bytes);
}

TEST(NetworkPort, Rfc2217SettingsReachTheFarDeviceAndEveryByteValueTravels) {
  PtyPair pty;
  Ser2netServer server(pty.SlavePath());
  LinkUnderTest t;
  // 115200 baud, odd parity, 2 stop bits; a pseudo-terminal keeps no data bits or parity.
  ASSERT_EQ(t.link.OpenPort(server.Url(), {115200, 1, 0, 1}), SerialLink::OpenResult::Opened);
  EXPECT_TRUE(Eventually([&] { return (FarSettings(pty).c_cflag & CBAUD) == B115200; }));
  EXPECT_EQ(FarSettings(pty).c_cflag & (PARODD | CSTOPB), static_cast<tcflag_t>(PARODD | CSTOPB));

  ASSERT_EQ(t.link.ApplyLineSettings({19200, 0, 0, 0}), ApplyResult::Applied);
  EXPECT_TRUE(Eventually([&] { return (FarSettings(pty).c_cflag & CBAUD) == B19200; }));
  EXPECT_EQ(FarSettings(pty).c_cflag & CSTOPB, 0u);

  // 0xFF travels doubled on the wire and arrives single, both ways.
  ExpectExactBothWays(t, pty, AllByteValues());
  ExpectExactBothWays(t, pty, RandomBytes(1 << 20, 7));

  // A pseudo-terminal has no RTS and DTR: ser2net never answers their setting, which
  // is told once while the connection goes on.
  std::vector<SerialEvent> events;
  ASSERT_TRUE(Eventually([&] {
    for (SerialEvent& event : t.link.TakeEvents()) events.push_back(std::move(event));
    return !NoticesIn(events).empty();
  }));
  EXPECT_EQ(NoticesIn(events), std::vector{RemoteNotice::ControlLines});
  EXPECT_TRUE(t.link.IsOpen());
  ExpectExactBothWays(t, pty, {0xFF, 0xFF, 0x00, 0x0D, 0x0A});
}

TEST(NetworkPort, ARawTcpPortCarriesBytesOnlyAndAStoppedServerHangsUp) {
  PtyPair pty;
  Ser2netServer server(pty.SlavePath(), Ser2netServer::Accepter::Tcp);
  LinkUnderTest t;
  ASSERT_EQ(t.link.OpenPort(server.Url(), {115200, 0, 0, 0}), SerialLink::OpenResult::Opened);
  EXPECT_FALSE(t.link.ModemLinesSupported());
  ExpectExactBothWays(t, pty, AllByteValues());
  EXPECT_EQ(FarSettings(pty).c_cflag & CBAUD, static_cast<tcflag_t>(B9600));  // the server's own

  server.Stop();
  const std::vector<SerialEvent> events = t.Collect(1);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, SerialEvent::Kind::HangUp);
  t.link.ClosePort();
  EXPECT_EQ(t.link.OpenPort(server.Url(), {}), SerialLink::OpenResult::Refused);
  server.Start();
  ASSERT_EQ(t.link.OpenPort(server.Url(), {}), SerialLink::OpenResult::Opened);
  ExpectExactBothWays(t, pty, RandomBytes(4096, 3));
}

// A server that accepts and then says nothing is no RFC 2217 server.
TEST(NetworkPort, ASilentServerIsToldWithinFiveSeconds) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);

  LinkUnderTest t;
  const auto opened = std::chrono::steady_clock::now();
  ASSERT_EQ(t.link.OpenPort("rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port)), {}),
            SerialLink::OpenResult::Opened);
  std::vector<SerialEvent> events;
  ASSERT_TRUE(Eventually([&] {
    for (SerialEvent& event : t.link.TakeEvents()) events.push_back(std::move(event));
    return !NoticesIn(events).empty();
  }));
  EXPECT_LT(std::chrono::steady_clock::now() - opened, 6s);
  EXPECT_EQ(NoticesIn(events), std::vector{RemoteNotice::NoAnswer});
  t.link.ClosePort();
  ::close(listener);
}

TEST(NetworkPort, BadAddressesFailAtOnceWithTheirReason) {
  LinkUnderTest t;
  using enum SerialLink::OpenResult;
  for (const char* name : {"rfc2217://:7000", "rfc2217://127.0.0.1", "tcp://127.0.0.1:", "tcp://127.0.0.1:0",
                           "tcp://127.0.0.1:65536", "rfc2217://127.0.0.1:12ab", "tcp://[::1:7000"}) {
    EXPECT_EQ(t.link.OpenPort(name, {}), BadAddress) << name;
  }
  EXPECT_EQ(t.link.OpenPort("tcp://127.0.0.1:" + std::to_string(testing::FreeLoopbackPort()), {}), Refused);
  // Without a name server the lookup may also run out of time; it never hangs.
  const auto started = std::chrono::steady_clock::now();
  const SerialLink::OpenResult unknown = t.link.OpenPort("rfc2217://no-such-host.invalid:7000", {});
  EXPECT_TRUE(unknown == NoSuchHost || unknown == TimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 6s);
  EXPECT_FALSE(t.link.IsOpen());
}

}  // namespace
}  // namespace portprobe
