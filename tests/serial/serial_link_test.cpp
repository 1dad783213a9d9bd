#include "serial/serial_link.h"
#include "serial/termios_rows.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <thread>

#include "serial/link_under_test.h"
#include "support/holding_process.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::PtyPair;
using testing::RandomBytes;

TEST(SerialLink, CarriesBytesBothWaysIntactAndInOrder) {
  PtyPair pty;
  LinkUnderTest t;
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  ASSERT_TRUE(t.link.IsOpen());

  const ByteFrame out = RandomBytes(3000, 1);
  SerialLink::WriteOutcome outcome = SerialLink::WriteOutcome::Failed;
  EXPECT_EQ(t.link.QueueWrite(out, &outcome), out.size());
  EXPECT_EQ(outcome, SerialLink::WriteOutcome::Queued);
  EXPECT_EQ(pty.Read(out.size()), out);
  EXPECT_EQ(WaitForWritten(t, out.size()), out.size());

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
  SerialLink::WriteOutcome outcome = SerialLink::WriteOutcome::Queued;
  EXPECT_EQ(t.link.QueueWrite({&byte, 1}, &outcome), 0u);
  EXPECT_EQ(outcome, SerialLink::WriteOutcome::Failed);
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  EXPECT_EQ(t.link.QueueWrite({&byte, 0}), 0u);
  EXPECT_EQ(t.link.QueuedWriteBytes(), 0u);
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
  EXPECT_EQ(second.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Held);
  EXPECT_FALSE(second.link.IsOpen());
  holder.link.ClosePort();
  EXPECT_EQ(second.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);

  // Each reason of its own, and only a device that could not be had may come later.
  const testing::TempDir folder;
  LinkUnderTest other;
  EXPECT_EQ(other.link.OpenPort("/dev/---------", {}), SerialLink::OpenResult::Missing);
  EXPECT_EQ(other.link.OpenPort("/nonexistent/ttyUSB9", {}), SerialLink::OpenResult::Missing);
  for (const std::string& path : {std::string("/dev/null"), std::string("/dev/zero"), folder.Path().string(),
                                  folder.WriteFile("capture.txt", "x")}) {
    EXPECT_EQ(other.link.OpenPort(path, {}), SerialLink::OpenResult::NotAPort) << path;
  }
  EXPECT_FALSE(other.link.IsOpen());
  EXPECT_TRUE(SerialLink::DeviceUnavailable(SerialLink::OpenResult::Missing));
  EXPECT_FALSE(SerialLink::DeviceUnavailable(SerialLink::OpenResult::NotAPort));
}

// A program killed while it held a port for its use alone leaves the kernel's mark
// behind; with no program to blame it is named as such. Root passes
// the mark, so a root test opens the port as nobody, in a child.
TEST(SerialLink, NamesAnExclusiveMarkLeftByAnEndedProgram) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string path = ::ptsname(master);
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  const auto inChild = [](const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  ASSERT_EQ(inChild([&] {
              const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
              return fd >= 0 && ::ioctl(fd, TIOCEXCL) == 0 ? 0 : 1;
            }),
            0);
  constexpr int kStillRoot = 100;
  const int result = inChild([&] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return kStillRoot;
    SerialLink link([] {});
    return static_cast<int>(link.OpenPort(path, {}));
  });
  ::close(master);
  if (result == kStillRoot) GTEST_SKIP() << "root may not become nobody here, and root passes the mark";
  EXPECT_EQ(result, static_cast<int>(SerialLink::OpenResult::StaleLock));
  EXPECT_TRUE(SerialLink::DeviceUnavailable(SerialLink::OpenResult::StaleLock));
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
  ASSERT_EQ(t.link.ApplyLineSettings({19200, 1, 1, 1}), ApplyResult::Applied);
  ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &tio), 0);
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B19200));
  EXPECT_EQ(tio.c_cflag & (PARODD | CSTOPB), static_cast<tcflag_t>(PARODD | CSTOPB));

  // The rates beside the standard ones, and any typed one, go to the driver as they
  // stand; the device keeps the other settings with them.
  for (std::uint32_t rate : {43000u, 56000u, 250000u, 1234567u}) {
    ASSERT_EQ(t.link.ApplyLineSettings({rate, 0, 0, 1}), ApplyResult::Applied);
    ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &tio), 0);
    EXPECT_EQ(tio.c_ospeed, rate);
    EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB), static_cast<tcflag_t>(CSTOPB));
  }
  // The fast rows have speed codes.
  for (std::size_t row = 12; row < BaudRateTable.size(); ++row) {
    ASSERT_EQ(t.link.ApplyLineSettings({BaudRateTable[row], 0, 0, 0}), ApplyResult::Applied);
    ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &tio), 0);
    EXPECT_EQ(tio.c_ospeed, BaudRateTable[row]);
    EXPECT_NE(tio.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
  }
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B3000000));
  t.link.ClosePort();
  EXPECT_EQ(t.link.ApplyLineSettings({}), ApplyResult::NotATerminal);
}

TEST(SetLineSettings, MapsEveryRowAndSetsTheChosenFlowControl) {
  struct termios2 tio {};
  tio.c_cflag = CRTSCTS | CS8 | PARENB;
  tio.c_iflag = IXON | IXOFF | IXANY | ICRNL;
  tio.c_lflag = ICANON | ECHO;
  SetLineSettings(tio, {115200, 2, 2, 1});
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B115200));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS6));
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB));
  EXPECT_TRUE(tio.c_cflag & CSTOPB);
  // The driver's leftover flow control does not survive: none was chosen.
  EXPECT_FALSE(tio.c_cflag & CRTSCTS);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);

  SetLineSettings(tio, {115200, 2, 2, 1, FlowControl::XonXoff});
  EXPECT_FALSE(tio.c_cflag & CRTSCTS);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY), static_cast<tcflag_t>(IXON | IXOFF));
  SetLineSettings(tio, {115200, 2, 2, 1, FlowControl::RtsCts});
  EXPECT_TRUE(tio.c_cflag & CRTSCTS);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);

  SetLineSettings(tio, {300, 1, 1, 0});
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B300));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB | PARODD));
  EXPECT_FALSE(tio.c_cflag & CSTOPB);

  SetLineSettings(tio, {250000, 1, 1, 0});
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
  EXPECT_EQ(tio.c_ispeed, 250000u);
  EXPECT_EQ(tio.c_ospeed, 250000u);
  SetLineSettings(tio, {300, 1, 1, 0});

  // A list without a selected row, or no rate, leaves its part alone.
  SetLineSettings(tio, {0, -1, -1, -1});
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B300));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
}

// Mark, space, 5 data bits and 1.5 stop bits follow the original rows.
TEST(SetLineSettings, MapsTheRowsAfterTheOriginalOnes) {
  struct termios2 tio {};
  tio.c_cflag = CS8;
  SetLineSettings(tio, {5, 3, 3, 2});
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS5));
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | PARODD | CMSPAR));
  EXPECT_TRUE(tio.c_cflag & CSTOPB);  // 1.5 stop bits at 5 data bits

  SetLineSettings(tio, {5, 4, 0, 0});
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | CMSPAR));
  SetLineSettings(tio, {5, 1, 0, 0});
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | PARODD));
  SetLineSettings(tio, {5, 0, 0, 0});
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), 0u);
  EXPECT_EQ(std::string(kParityLetters[3]) + kParityLetters[4], "MS");
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

// Queues from `bytes` until the link's queue is full; every call returns at once,
// whatever the device does. Returns the count the link took.
std::size_t QueueUntilFull(SerialLink& link, const ByteFrame& bytes) {
  std::size_t taken = 0;
  while (!link.WriteQueueFull() && taken < bytes.size()) {
    taken += link.QueueWrite(
        std::span<const std::uint8_t>(bytes).subspan(taken, std::min<std::size_t>(bytes.size() - taken, 64 * 1024)));
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return taken;
}

TEST(SerialLink, WritesToADeviceThatReadsNothingWaitInABoundedQueue) {
  PtyPair pty;
  LinkUnderTest t;
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  const ByteFrame out = RandomBytes(4 << 20, 4);
  std::size_t taken = QueueUntilFull(t.link, out);
  ASSERT_TRUE(t.link.WriteQueueFull());
  EXPECT_EQ(t.link.QueuedWriteBytes(), SerialLink::kWriteQueueCapacity);
  EXPECT_EQ(t.link.QueueWrite(std::span<const std::uint8_t>(out).subspan(taken, 1)), 0u);  // no room: nothing taken
  EXPECT_TRUE(Eventually([&] { return t.link.WriteBlocked(); }));

  // The device reads a little: the link writes on and has room again.
  std::uint64_t written = WrittenIn(t.link.TakeEvents());
  ByteFrame arrived = pty.Read(200000);
  ASSERT_EQ(arrived.size(), 200000u);
  EXPECT_TRUE(Eventually([&] { return !t.link.WriteQueueFull(); }));
  taken += t.link.QueueWrite(std::span<const std::uint8_t>(out).subspan(taken, 100));

  // A close drops what is still queued, returns at once and says how much; every byte
  // the link took was either written, in order, or dropped.
  const std::size_t dropped = t.link.ClosePort();
  EXPECT_GT(dropped, 0u);
  EXPECT_EQ(t.link.QueuedWriteBytes(), 0u);
  written += WrittenIn(t.link.TakeEvents());
  EXPECT_EQ(written + dropped, taken);
  const ByteFrame rest = pty.Read(SIZE_MAX, 200);
  arrived.insert(arrived.end(), rest.begin(), rest.end());
  EXPECT_EQ(arrived.size(), written);
  EXPECT_TRUE(std::equal(arrived.begin(), arrived.end(), out.begin()));
  EXPECT_EQ(t.link.ClosePort(), 0u);
}

TEST(SerialLink, AWaitingSenderStopsWhenCancelledAndWhenTheDeviceGoesAway) {
  PtyPair pty;
  LinkUnderTest t;
  ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened);
  const ByteFrame out = RandomBytes(3 << 20, 5);
  std::atomic<bool> cancel = false;
  SerialLink::WriteOutcome outcome = SerialLink::WriteOutcome::Queued;
  std::size_t queued = 0;
  std::thread sender([&] { queued = t.link.QueueWriteWaiting(out, &outcome, &cancel); });
  EXPECT_TRUE(Eventually([&] { return t.link.WriteQueueFull(); }));
  cancel = true;
  sender.join();
  EXPECT_LT(queued, out.size());
  EXPECT_EQ(outcome, SerialLink::WriteOutcome::Failed);

  // The far end closes while a sender waits for room: it stops, and the hang-up
  // counts the bytes that could not go out.
  cancel = false;
  sender = std::thread([&] { queued = t.link.QueueWriteWaiting(out, &outcome, &cancel); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  pty.CloseMaster();
  sender.join();
  EXPECT_EQ(outcome, SerialLink::WriteOutcome::Failed);
  const std::vector<SerialEvent> events = t.Collect(SIZE_MAX);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, SerialEvent::Kind::HangUp);
  EXPECT_GT(events.back().count, 0u);
  EXPECT_EQ(t.link.QueuedWriteBytes(), 0u);
  const std::uint8_t byte = 0;
  EXPECT_EQ(t.link.QueueWrite({&byte, 1}, &outcome), 0u);  // nobody writes any more
  EXPECT_EQ(outcome, SerialLink::WriteOutcome::Failed);
  t.link.ClosePort();
}

// The device goes back to others as it was: its own settings and not exclusive, even
// while another program keeps it open.
TEST(SerialLink, GivesTheDeviceBackAsItWasFound) {
  PtyPair pty;
  testing::HoldingProcess other(pty.SlavePath());
  struct termios2 original {};
  ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &original), 0);
  original.c_lflag |= ICANON | ECHO;
  original.c_iflag |= ICRNL;
  original.c_cflag = (original.c_cflag & ~CBAUD) | B1200;
  ASSERT_EQ(::ioctl(pty.SlaveFd(), TCSETS2, &original), 0);
  ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &original), 0);

  LinkUnderTest t;
  for (int cycle = 0; cycle < 2; ++cycle) {
    ASSERT_EQ(t.link.OpenPort(pty.SlavePath(), {}), SerialLink::OpenResult::Opened) << cycle;
    int exclusive = 0;
    ASSERT_EQ(::ioctl(pty.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    struct termios2 raw {};
    ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &raw), 0);
    EXPECT_EQ(raw.c_lflag & (ICANON | ECHO), 0u);
    t.link.ClosePort();

    ASSERT_EQ(::ioctl(pty.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    struct termios2 after {};
    ASSERT_EQ(::ioctl(pty.SlaveFd(), TCGETS2, &after), 0);
    EXPECT_EQ(after.c_lflag, original.c_lflag);
    EXPECT_EQ(after.c_iflag, original.c_iflag);
    EXPECT_EQ(after.c_cflag, original.c_cflag);
    EXPECT_EQ(after.c_ospeed, original.c_ospeed);
  }
}

}  // namespace
}  // namespace portprobe
