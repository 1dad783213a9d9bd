#include "serial/serial_link.h"
#include "serial/termios_rows.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "support/pty_pair.h"

namespace portprobe {
namespace {

using testing::PtyPair;
using testing::RandomBytes;

// Collects what the link queues, as the window would.
class LinkUnderTest {
 public:
  LinkUnderTest()
      : link([this] {
          std::lock_guard lock(mutex);
          wakes++;
          woken.notify_all();
        }) {}

  // All events until `bytes` batch bytes have come, or a hang-up, or a time-out.
  std::vector<SerialEvent> Collect(std::size_t bytes, std::chrono::seconds timeout = std::chrono::seconds(10)) {
    std::vector<SerialEvent> events;
    std::size_t received = 0;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (received < bytes && std::chrono::steady_clock::now() < deadline) {
      for (SerialEvent& event : link.TakeEvents()) {
        received += event.bytes.size();
        const bool hangUp = event.kind == SerialEvent::Kind::HangUp;
        events.push_back(std::move(event));
        if (hangUp) return events;
      }
      std::unique_lock lock(mutex);
      woken.wait_for(lock, std::chrono::milliseconds(20));
    }
    return events;
  }

  SerialLink link;
  std::mutex mutex;
  std::condition_variable woken;
  int wakes = 0;
};

ByteFrame Concatenate(const std::vector<SerialEvent>& events) {
  ByteFrame all;
  for (const SerialEvent& event : events) all.insert(all.end(), event.bytes.begin(), event.bytes.end());
  return all;
}

TEST(SerialLink, CarriesBytesBothWaysIntactAndInOrder) {
  PtyPair pty;
  LinkUnderTest t;
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  ASSERT_TRUE(t.link.IsOpen());

  const ByteFrame out = RandomBytes(3000, 1);
  EXPECT_EQ(t.link.WriteBytes(out.data(), static_cast<std::uint32_t>(out.size())), out.size());
  EXPECT_EQ(pty.Read(out.size()), out);

  const ByteFrame in = RandomBytes(64 * 1024, 2);
  std::thread device([&] { pty.Write(in); });
  const std::vector<SerialEvent> events = t.Collect(in.size());
  device.join();
  EXPECT_EQ(Concatenate(events), in);
  for (const SerialEvent& event : events) {
    EXPECT_EQ(event.kind, SerialEvent::Kind::Batch);
    EXPECT_LE(event.bytes.size(), SerialLink::kBatchCapacity);
    EXPECT_FALSE(event.bytes.empty());
  }
  // Batch ticks never run backwards.
  for (std::size_t i = 1; i < events.size(); ++i) EXPECT_GE(TickDifference(events[i].tick, events[i - 1].tick), 0);
}

TEST(SerialLink, WritesNothingWithoutAPortOrBytes) {
  PtyPair pty;
  LinkUnderTest t;
  const std::uint8_t byte = 0x55;
  SerialLink::WriteOutcome outcome = SerialLink::WriteOutcome::Written;
  EXPECT_EQ(t.link.WriteBytes(&byte, 1, &outcome), 0u);
  EXPECT_EQ(outcome, SerialLink::WriteOutcome::Failed);
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  EXPECT_EQ(t.link.WriteBytes(&byte, 0), 0u);
}

TEST(SerialLink, OpensAndClosesRepeatedlyAndClosesDuringAFlood) {
  PtyPair pty;
  LinkUnderTest t;
  for (int cycle = 0; cycle < 5; ++cycle) {
    ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened) << cycle;
    t.link.ClosePort();
    EXPECT_FALSE(t.link.IsOpen());
  }
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  std::atomic<bool> flooding = true;
  ::fcntl(pty.MasterFd(), F_SETFL, O_NONBLOCK);  // the flood must not block once nobody reads
  std::thread device([&] {
    const ByteFrame chunk = RandomBytes(4096, 3);
    while (flooding) {
      if (::write(pty.MasterFd(), chunk.data(), chunk.size()) < 0) std::this_thread::yield();
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  t.link.ClosePort();  // must return although bytes keep coming
  EXPECT_FALSE(t.link.IsOpen());
  flooding = false;
  device.join();
  // A second close is harmless.
  t.link.ClosePort();
}

TEST(SerialLink, RefusesAPortHeldByAnotherAndPathsThatAreNoPorts) {
  PtyPair pty;
  LinkUnderTest holder, second;
  ASSERT_EQ(holder.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  EXPECT_EQ(second.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::OpenFailed);
  EXPECT_FALSE(second.link.IsOpen());
  holder.link.ClosePort();
  EXPECT_EQ(second.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);

  LinkUnderTest other;
  EXPECT_EQ(other.link.OpenPort("/dev/---------", {}), SerialLink::OpenResult::OpenFailed);
  EXPECT_EQ(other.link.OpenPort("/nonexistent/ttyUSB9", {}), SerialLink::OpenResult::OpenFailed);
  EXPECT_EQ(other.link.OpenPort("/dev/null", {}), SerialLink::OpenResult::SettingsUnreadable);
  EXPECT_FALSE(other.link.IsOpen());
}

TEST(SerialLink, AppliesLineSettingsToTheDevice) {
  PtyPair pty;
  LinkUnderTest t;
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  struct termios2 tio {};
  ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &tio), 0);
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B9600));
  EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);

  // 19200 baud (row 6), odd parity, 2 stop bits, on the open port. A pseudo-terminal
  // keeps the rate, PARODD and CSTOPB; it always reports 8 bits without parity.
  ASSERT_EQ(t.link.ApplyLineSettings({6, 1, 1, 1}), ApplyResult::Applied);
  ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &tio), 0);
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B19200));
  EXPECT_EQ(tio.c_cflag & (PARODD | CSTOPB), static_cast<tcflag_t>(PARODD | CSTOPB));

  // The rates beside the standard ones go to the driver as they stand.
  for (int row : {8, 9}) {
    ASSERT_EQ(t.link.ApplyLineSettings({row, 0, 0, 0}), ApplyResult::Applied);
    ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &tio), 0);
    EXPECT_EQ(tio.c_ospeed, BaudRateTable[row]);
    EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
  }
  t.link.ClosePort();
  EXPECT_EQ(t.link.ApplyLineSettings({}), ApplyResult::NotATerminal);
}

TEST(SetLineSettings, MapsEveryRowAndKeepsFlowControl) {
  struct termios2 tio {};
  tio.c_cflag = CRTSCTS | CS8 | PARENB;
  tio.c_iflag = IXON | IXOFF | ICRNL;
  tio.c_lflag = ICANON | ECHO;
  SetLineSettings(tio, {11, 2, 2, 1});
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B115200));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS6));
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB));
  EXPECT_TRUE(tio.c_cflag & CSTOPB);
  EXPECT_TRUE(tio.c_cflag & CRTSCTS);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), static_cast<tcflag_t>(IXON | IXOFF));
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);

  SetLineSettings(tio, {0, 1, 1, 0});
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B300));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB | PARODD));
  EXPECT_FALSE(tio.c_cflag & CSTOPB);

  // A list without a selected row leaves its part alone.
  SetLineSettings(tio, {-1, -1, -1, -1});
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B300));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
}

TEST(SerialLink, ReportsAFarEndThatGoesAwayOnceAndStopsReading) {
  PtyPair pty;
  LinkUnderTest t;
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  pty.Write("last words");
  const std::vector<SerialEvent> before = t.Collect(10);
  EXPECT_EQ(Concatenate(before), ByteFrame({'l', 'a', 's', 't', ' ', 'w', 'o', 'r', 'd', 's'}));
  pty.CloseMaster();
  const std::vector<SerialEvent> events = t.Collect(SIZE_MAX);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, SerialEvent::Kind::HangUp);
  // The worker has ended: nothing more is queued, and closing returns at once.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(t.link.TakeEvents().empty());
  t.link.ClosePort();
}

}  // namespace
}  // namespace portprobe
