// The Telnet and COM-PORT-OPTION side of a network port, fed the server's bytes by hand:
// what servers other than the one the link is tested against may send.
#include "serial/rfc2217_client.h"

#include <gtest/gtest.h>

#include "serial/modem_lines.h"

namespace portprobe {
namespace {

using namespace std::chrono_literals;
using Clock = Rfc2217Client::Clock;

constexpr std::uint8_t kIac = 255, kWill = 251, kWont = 252, kDo = 253, kDont = 254, kSb = 250, kSe = 240;

ByteFrame TakeOutgoing(Rfc2217Client& client) { return std::exchange(client.Outgoing(), {}); }

ByteFrame Receive(Rfc2217Client& client, const ByteFrame& wire, Clock::time_point now) {
  ByteFrame data;
  client.Receive(wire, data, now);
  return data;
}

ByteFrame ServerSays(std::uint8_t code, const ByteFrame& value) {
  ByteFrame bytes = {kIac, kSb, 44, code};
  for (const std::uint8_t byte : value) bytes.push_back(byte);
  bytes.push_back(kIac);
  bytes.push_back(kSe);
  return bytes;
}

// A client whose server took up the option at `now`.
Rfc2217Client Agreed(Clock::time_point now) {
  Rfc2217Client client(now);
  Receive(client, {kIac, kDo, 44}, now);
  TakeOutgoing(client);
  return client;
}

TEST(Rfc2217Client, DataIsBinarySafeAcrossAnySplitAndNegotiationNeverLoops) {
  const Clock::time_point now = Clock::now();
  Rfc2217Client client(now);
  EXPECT_EQ(TakeOutgoing(client),
            (ByteFrame{kIac, kWill, 44, kIac, kWill, 0, kIac, kDo, 0, kIac, kWill, 3, kIac, kDo, 3}));

  // A server's greeting: what the client asked for already is not answered again;
  // echo and other options are refused once.
  const ByteFrame greeting = {kIac, kWill, 3, kIac, kDo, 3, kIac, kWill, 1, kIac, kDo, 0, kIac, kWill, 0, kIac, kDo, 24};
  EXPECT_TRUE(Receive(client, greeting, now).empty());
  EXPECT_EQ(TakeOutgoing(client), (ByteFrame{kIac, kDont, 1, kIac, kWont, 24}));
  Receive(client, {kIac, kWill, 1, kIac, kDo, 24}, now);
  EXPECT_TRUE(TakeOutgoing(client).empty());

  // 0xFF doubled out; doubled in, a command within data, and subnegotiations, split
  // at every byte, give the data alone.
  client.SendData(ByteFrame{0x00, 0xFF, 0x0D, 0xFF});
  EXPECT_EQ(TakeOutgoing(client), (ByteFrame{0x00, 0xFF, 0xFF, 0x0D, 0xFF, 0xFF}));
  ByteFrame wire = {'a', kIac, kIac, 'b', kIac, 241 /* no-op */, 'c'};
  const ByteFrame modem = ServerSays(107, {0xB0});
  wire.insert(wire.end(), modem.begin(), modem.end());
  wire.push_back(kIac);
  wire.push_back(kIac);
  ByteFrame data;
  for (const std::uint8_t byte : wire) client.Receive(ByteFrame{byte}, data, now);
  EXPECT_EQ(data, (ByteFrame{'a', 0xFF, 'b', 'c', 0xFF}));
  EXPECT_EQ(client.ModemInputs(), kCtsLine | kDsrLine | kDcdLine);

  // A subnegotiation longer than any the option has is dropped whole.
  ByteFrame longOne = {kIac, kSb, 44, 107};
  longOne.insert(longOne.end(), 40, 0x40);
  longOne.insert(longOne.end(), {kIac, kSe, 'z'});
  EXPECT_EQ(Receive(client, longOne, now), ByteFrame{'z'});
  EXPECT_EQ(client.ModemInputs(), kCtsLine | kDsrLine | kDcdLine);
}

TEST(Rfc2217Client, SettingsWaitForTheOptionAndRefusalsAreToldOnce) {
  const Clock::time_point now = Clock::now();
  Rfc2217Client client(now);
  TakeOutgoing(client);
  // 115200 8E1 without flow control, asked for before the server took up the option.
  client.SetLine({115200, 2, 0, 0, FlowControl::None}, now);
  EXPECT_TRUE(TakeOutgoing(client).empty());
  Receive(client, {kIac, kDo, 44}, now);
  const ByteFrame expected = {kIac, kSb, 44, 10, 0x1E, kIac, kSe,                   // the line errors to tell
                              kIac, kSb, 44, 1,  0x00, 0x01, 0xC2, 0x00, kIac, kSe,  // 115200
                              kIac, kSb, 44, 2,  8,    kIac, kSe,                    // 8 data bits
                              kIac, kSb, 44, 3,  3,    kIac, kSe,                    // even
                              kIac, kSb, 44, 4,  1,    kIac, kSe,                    // 1 stop bit
                              kIac, kSb, 44, 5,  1,    kIac, kSe};                   // no flow control
  EXPECT_EQ(TakeOutgoing(client), expected);

  // The server keeps 9600 and takes the rest; the flow control is never answered.
  Receive(client, ServerSays(101, {0x00, 0x00, 0x25, 0x80}), now);
  Receive(client, ServerSays(102, {8}), now);
  Receive(client, ServerSays(103, {3}), now);
  Receive(client, ServerSays(104, {1}), now);
  EXPECT_EQ(client.TakeNotices(now), std::vector{RemoteNotice::BaudRate});
  EXPECT_EQ(client.NextDeadline(), now + Rfc2217Client::kAnswerTime);
  EXPECT_TRUE(client.TakeNotices(now + 4s).empty());
  EXPECT_EQ(client.TakeNotices(now + 5s), std::vector{RemoteNotice::FlowControl});
  EXPECT_FALSE(client.NextDeadline());

  // With two rates in flight, the answer to the first is no refusal of the second.
  Rfc2217Client changing = Agreed(now);
  changing.SetLine({9600, -1, -1, -1, FlowControl::None}, now);
  changing.SetLine({115200, -1, -1, -1, FlowControl::None}, now);
  Receive(changing, ServerSays(101, {0x00, 0x00, 0x25, 0x80}), now);
  Receive(changing, ServerSays(101, {0x00, 0x01, 0xC2, 0x00}), now);
  for (int i = 0; i < 2; ++i) Receive(changing, ServerSays(105, {1}), now);
  EXPECT_TRUE(changing.TakeNotices(now + 10s).empty());

  // Each is told once a connection, however often it happens again.
  client.SetLine({57600, 0, 0, 0, FlowControl::None}, now + 6s);
  for (const ByteFrame& answer : {ServerSays(101, {0x00, 0x00, 0x25, 0x80}), ServerSays(102, {8}),
                                  ServerSays(103, {1}), ServerSays(104, {1})}) {
    Receive(client, answer, now + 6s);
  }
  EXPECT_TRUE(client.TakeNotices(now + 20s).empty());
}

TEST(Rfc2217Client, ServersThatRefuseOrNeverAnswerAreTold) {
  const Clock::time_point now = Clock::now();
  Rfc2217Client silent(now);
  EXPECT_TRUE(silent.TakeNotices(now + 4900ms).empty());
  EXPECT_EQ(silent.TakeNotices(now + 5s), std::vector{RemoteNotice::NoAnswer});

  Rfc2217Client refusing(now);
  TakeOutgoing(refusing);
  Receive(refusing, {kIac, kDont, 44}, now);
  EXPECT_EQ(TakeOutgoing(refusing), (ByteFrame{kIac, kWont, 44}));
  refusing.SetControlLines(true, true, now);
  EXPECT_TRUE(TakeOutgoing(refusing).empty());
  EXPECT_EQ(refusing.TakeNotices(now + 10s), std::vector{RemoteNotice::NoComPortOption});

  // Line errors, and the server's pause and resume of this side's sending.
  Rfc2217Client client = Agreed(now);
  Receive(client, ServerSays(106, {0x60}), now);  // no error bits
  EXPECT_FALSE(client.TakeLineErrors());
  Receive(client, ServerSays(106, {0x08}), now);  // framing
  EXPECT_TRUE(client.TakeLineErrors());
  EXPECT_FALSE(client.TakeLineErrors());
  Receive(client, ServerSays(108, {}), now);
  EXPECT_TRUE(client.Suspended());
  Receive(client, ServerSays(109, {}), now);
  EXPECT_FALSE(client.Suspended());
}

}  // namespace
}  // namespace portprobe
