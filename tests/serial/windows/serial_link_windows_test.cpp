// The Windows link over two COM ports that the test's harness joins like a null-modem
// cable (under Wine: both ends of one pseudo-terminal pair), named by
// PORTPROBE_TEST_COM_PAIR="COM5,COM6".
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "serial/link_under_test.h"
#include "serial/port_enumeration.h"

namespace portprobe {
namespace {

using namespace std::chrono_literals;

ByteFrame RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 generator(seed);
  ByteFrame bytes(count);
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(generator());
  return bytes;
}

// Wine lets a second handle open a COM port that a first one holds, whatever its share
// mode; Windows refuses it.
bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Reads what the far end sends until it has been quiet for a while, so that no test
// leaves bytes behind for the next.
void Drain(LinkUnderTest& t) {
  for (std::size_t got = 1; got > 0;) got = Concatenate(t.Collect(SIZE_MAX, 1s)).size();
}

class ComPairTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* pair = std::getenv("PORTPROBE_TEST_COM_PAIR");
    const std::string names = pair != nullptr ? pair : "";
    const std::size_t comma = names.find(',');
    if (comma == std::string::npos) GTEST_SKIP() << "PORTPROBE_TEST_COM_PAIR names no two joined COM ports";
    near_ = DevicePath(names.substr(0, comma));
    far_ = DevicePath(names.substr(comma + 1));
  }

  // Both ends open at a common rate, the far one emptied of anything left over.
  void OpenBoth(LinkUnderTest& nearEnd, LinkUnderTest& farEnd) {
    ASSERT_EQ(nearEnd.link.OpenPort(near_, {115200}), SerialLink::OpenResult::Opened);
    ASSERT_EQ(farEnd.link.OpenPort(far_, {115200}), SerialLink::OpenResult::Opened);
    Drain(nearEnd);
    Drain(farEnd);
  }

  std::string near_, far_;
};

TEST_F(ComPairTest, OpensAPortForOneLinkAtATimeAndAgainAfterClosing) {
  LinkUnderTest first, second;
  ASSERT_EQ(first.link.OpenPort(near_, {}), SerialLink::OpenResult::Opened);
  EXPECT_TRUE(first.link.IsOpen());
  if (!UnderWine()) {
    EXPECT_EQ(second.link.OpenPort(near_, {}), SerialLink::OpenResult::Held);
    EXPECT_FALSE(second.link.IsOpen());
  }
  EXPECT_EQ(first.link.ClosePort(), 0u);
  EXPECT_FALSE(first.link.IsOpen());
  ASSERT_EQ(second.link.OpenPort(near_, {}), SerialLink::OpenResult::Opened);
  second.link.ClosePort();

  for (int round = 0; round < 5; ++round) {
    ASSERT_EQ(first.link.OpenPort(near_, {}), SerialLink::OpenResult::Opened) << round;
    first.link.ClosePort();
  }
  EXPECT_EQ(first.link.Connection(), 6u);
  EXPECT_EQ(first.link.OpenPort(DevicePath("COM250"), {}), SerialLink::OpenResult::Missing);
}

TEST_F(ComPairTest, CarriesBytesBothWaysAndReportsWhatWasWritten) {
  LinkUnderTest nearEnd, farEnd;
  OpenBoth(nearEnd, farEnd);

  const ByteFrame hello = {'h', 'e', 'l', 'l', 'o', 0x00, 0x11, 0x13, 0xFF};
  SerialLink::WriteOutcome outcome = SerialLink::WriteOutcome::Failed;
  EXPECT_EQ(nearEnd.link.QueueWrite(hello, &outcome), hello.size());
  EXPECT_EQ(outcome, SerialLink::WriteOutcome::Queued);
  EXPECT_EQ(Concatenate(farEnd.Collect(hello.size())), hello);
  EXPECT_EQ(WaitForWritten(nearEnd, hello.size()), hello.size());

  const ByteFrame back = RandomBytes(10000, 2);
  EXPECT_EQ(farEnd.link.QueueWrite(back), back.size());
  const std::vector<SerialEvent> events = nearEnd.Collect(back.size());
  EXPECT_EQ(Concatenate(events), back);
  for (const SerialEvent& event : events) {
    EXPECT_EQ(event.kind, SerialEvent::Kind::Batch);
    EXPECT_FALSE(event.bytes.empty());
    EXPECT_LE(event.bytes.size(), SerialLink::kBatchCapacity);
    EXPECT_EQ(event.connection, nearEnd.link.Connection());
  }
  EXPECT_EQ(WaitForWritten(farEnd, back.size()), back.size());
  EXPECT_GT(nearEnd.wakes, 0);
}

TEST_F(ComPairTest, CarriesAHundredKibibytesWholeAndInOrder) {
  LinkUnderTest nearEnd, farEnd;
  OpenBoth(nearEnd, farEnd);
  const ByteFrame data = RandomBytes(100 * 1024, 3);
  EXPECT_EQ(nearEnd.link.QueueWrite(data), data.size());
  EXPECT_EQ(Concatenate(farEnd.Collect(data.size(), 60s)), data);
  EXPECT_EQ(WaitForWritten(nearEnd, data.size()), data.size());
  EXPECT_EQ(nearEnd.link.QueuedWriteBytes(), 0u);
  EXPECT_FALSE(nearEnd.link.WriteBlocked());
}

TEST_F(ComPairTest, AppliesEverySettingRowAndReportsARefusedRate) {
  LinkUnderTest nearEnd, farEnd;
  OpenBoth(nearEnd, farEnd);
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(nearEnd.link.ApplyLineSettings({115200, row, row % 4, row % 3}), ApplyResult::Applied) << row;
  }
  for (const FlowControl flow : {FlowControl::XonXoff, FlowControl::RtsCts, FlowControl::None}) {
    EXPECT_EQ(nearEnd.link.ApplyLineSettings({115200, 0, 0, 0, flow}), ApplyResult::Applied);
    EXPECT_EQ(nearEnd.link.LineFlowControl(), flow);
  }
  // Bytes still pass once the line is back at the far end's settings.
  const ByteFrame frame = RandomBytes(300, 4);
  EXPECT_EQ(nearEnd.link.QueueWrite(frame), frame.size());
  EXPECT_EQ(Concatenate(farEnd.Collect(frame.size())), frame);

  // A rate that no divisor gives is refused, and the flow control stays as it was.
  EXPECT_EQ(nearEnd.link.ApplyLineSettings({12345, 0, 0, 0, FlowControl::XonXoff}), ApplyResult::Refused);
  EXPECT_EQ(nearEnd.link.LineFlowControl(), FlowControl::None);
  EXPECT_EQ(nearEnd.link.OpenPort(near_, {12345}), SerialLink::OpenResult::SettingsRefused);
  EXPECT_FALSE(nearEnd.link.IsOpen());
  EXPECT_EQ(nearEnd.link.ApplyLineSettings({}), ApplyResult::NotATerminal);
  // The refused open gave the port back.
  EXPECT_EQ(nearEnd.link.OpenPort(near_, {115200}), SerialLink::OpenResult::Opened);
}

// The far end holds the near one back with XOFF: the writes wait in the link and are
// reported blocked, and a close returns all the same, dropping what it still holds.
TEST_F(ComPairTest, ClosesWhileFlowControlHoldsTheWritesBack) {
  LinkUnderTest nearEnd, farEnd;
  OpenBoth(nearEnd, farEnd);
  ASSERT_EQ(nearEnd.link.ApplyLineSettings({115200, 0, 0, 0, FlowControl::XonXoff}), ApplyResult::Applied);
  const ByteFrame xoff = {0x13};
  ASSERT_EQ(farEnd.link.QueueWrite(xoff), 1u);
  ASSERT_EQ(WaitForWritten(farEnd, 1), 1u);
  std::this_thread::sleep_for(100ms);  // the near end's driver has taken the XOFF

  const ByteFrame flood = RandomBytes(256 * 1024, 6);
  EXPECT_EQ(nearEnd.link.QueueWrite(flood), flood.size());
  EXPECT_TRUE(Eventually([&] { return nearEnd.link.WriteBlocked(); }));
  std::uint64_t written = WrittenIn(nearEnd.link.TakeEvents());
  EXPECT_LT(written, flood.size());
  const std::size_t dropped = nearEnd.link.ClosePort();
  written += WrittenIn(nearEnd.link.TakeEvents());
  EXPECT_EQ(written + dropped, flood.size());
  EXPECT_FALSE(nearEnd.link.IsOpen());
  Drain(farEnd);
}

// A port whose driver has no modem lines (a pseudo-terminal under Wine) says so, and
// asking for its lines and a break leaves it carrying data.
TEST_F(ComPairTest, KeepsCarryingDataAroundModemRequests) {
  LinkUnderTest nearEnd, farEnd;
  OpenBoth(nearEnd, farEnd);
  nearEnd.link.SetModemOutputs(false, false);
  nearEnd.link.SendBreak();
  nearEnd.link.SetModemOutputs(true, true);
  std::this_thread::sleep_for(ModemLines::kBreakDuration + 100ms);
  Drain(farEnd);  // a break may reach the far end as a zero byte
  const ByteFrame frame = RandomBytes(500, 5);
  EXPECT_EQ(nearEnd.link.QueueWrite(frame), frame.size());
  EXPECT_EQ(Concatenate(farEnd.Collect(frame.size())), frame);
  if (!nearEnd.link.ModemLinesSupported()) {
    for (const SerialEvent& event : nearEnd.link.TakeEvents()) EXPECT_NE(event.kind, SerialEvent::Kind::ModemLines);
  }
}

// The harness keeps both ends of the pair open for the whole suite, so no far end goes
// away here. Wine would not report it anyway: ending the pair's socat neither completes
// the pending read nor makes a write fail.

}  // namespace
}  // namespace portprobe
