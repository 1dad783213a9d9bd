#include "session/receive_path.h"

#include <gtest/gtest.h>

#include "support/local_time.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::TempDir;

SerialEvent Batch(const std::string& bytes, Tick tick = 0, WallTime time = WallTime()) {
  SerialEvent event;
  event.bytes.assign(bytes.begin(), bytes.end());
  event.tick = tick;
  event.time = time;
  return event;
}

std::span<const std::uint8_t> Span(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

SerialEvent Written(std::uint64_t count) {
  SerialEvent event;
  event.kind = SerialEvent::Kind::Written;
  event.count = count;
  return event;
}

// Plays the window: the text of the pieces, each ended block's mark after it.
std::string Receive(ReceivePath& path, std::vector<SerialEvent> batches, ReceiveDisplay display, bool boxHasText,
                    std::optional<ReceivePath::CaptureFailure>* failure = nullptr) {
  std::optional<ReceivePath::CaptureFailure> ignored;
  std::string text;
  (failure != nullptr ? *failure : ignored) =
      path.Receive(batches, 0, display, boxHasText, [&text](std::string_view piece, const ReceivePath::EndedBlock* ended) {
        text += piece;
        if (ended != nullptr) text += ended->mark;
      });
  return text;
}

TEST(ReceivePath, FormatsAndCountsBatchesAndKeepsTheLineAcrossCalls) {
  ReceivePath path;
  EXPECT_EQ(Receive(path, {Batch("\x01\x02", 1000), Batch("\x03", 1010)}, ReceiveDisplay::Hex, false), "01 02 03 ");
  // A pause starts a block only when the box has text.
  EXPECT_EQ(Receive(path, {Batch("\x04", 1200)}, ReceiveDisplay::Hex, true), "\r\n    \r\n04 ");
  EXPECT_EQ(Receive(path, {Batch("\x05", 1400)}, ReceiveDisplay::Hex, false), "05 ");
  EXPECT_EQ(Receive(path, {Batch(std::string("a\0b", 3))}, ReceiveDisplay::Characters, true), "ab");
  EXPECT_EQ(Receive(path, {}, ReceiveDisplay::Hex, true), "");
  EXPECT_EQ(path.RxCount(), 8);

  path.CountWritten(5);
  EXPECT_EQ(path.TxCount(), 5);
  path.ResetCounters();
  EXPECT_EQ(path.RxCount(), 0);
  EXPECT_EQ(path.TxCount(), 0);

  // After a clear the next hex byte starts a line.
  Receive(path, {Batch(std::string(3, '\x11'), 2000)}, ReceiveDisplay::Hex, true);
  path.BoxCleared();
  EXPECT_EQ(Receive(path, {Batch(std::string(9, '\x22'), 2010)}, ReceiveDisplay::Hex, false),
            "22 22 22 22 22 22 22 22   22 ");
}

TEST(ReceivePath, CutsAFloodIntoSlicesInArrivalOrder) {
  ReceivePath path;
  EXPECT_TRUE(path.TakeSlice().empty());
  const std::string batch(4096, 'x');
  std::deque<SerialEvent> events;
  events.push_back(Written(3));
  const std::size_t batches = ReceivePath::kSliceBytes / batch.size() + 10;
  for (std::size_t i = 0; i < batches; ++i) events.push_back(Batch(batch));
  path.FillBacklog(std::move(events));
  EXPECT_FALSE(path.BacklogEmpty());

  const std::vector<SerialEvent> first = path.TakeSlice();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.front().kind, SerialEvent::Kind::Written);
  EXPECT_EQ(first.size(), 1 + ReceivePath::kSliceBytes / batch.size());
  const std::vector<SerialEvent> rest = path.TakeSlice();
  EXPECT_EQ(first.size() + rest.size(), batches + 1);
  EXPECT_TRUE(path.BacklogEmpty());
}

TEST(ReceivePath, CapturesReceivedBytesAndStopsAtTheFirstFailure) {
  TempDir dir;
  const testing::ScopedEnvironment home("HOME", dir.Path().string());
  ReceivePath path;
  path.StartCapture();
  EXPECT_EQ(path.CapturePath(), dir.File("ttyprobe/test1.txt"));
  Receive(path, {Batch("AB"), Batch(std::string("\0C", 2))}, ReceiveDisplay::Characters, false);
  Receive(path, {Batch("D")}, ReceiveDisplay::Hex, false);
  // The raw bytes, whatever the display shows.
  EXPECT_EQ(testing::ReadFile(path.CapturePath()), std::string("AB\0CD", 5));

  // Saving replaces the whole content.
  EXPECT_TRUE(path.SaveToCaptureFile("xy"));
  EXPECT_EQ(testing::ReadFile(path.CapturePath()), "xy");

  path.StopCapture();
  Receive(path, {Batch("E")}, ReceiveDisplay::Hex, false);
  EXPECT_EQ(testing::ReadFile(dir.File("ttyprobe/test1.txt")), "xy");

  const std::string unwritable = dir.File("missing/capture.txt");
  path.SetCapturePath(unwritable);
  const Outcome unsaved = path.SaveToCaptureFile("xy");
  EXPECT_FALSE(unsaved);
  EXPECT_FALSE(unsaved.Reason().empty());
  std::optional<ReceivePath::CaptureFailure> failure;
  EXPECT_EQ(Receive(path, {Batch("F")}, ReceiveDisplay::Hex, false, &failure), "46 ");
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->path, unwritable);
  EXPECT_FALSE(failure->reason.empty());
  EXPECT_EQ(path.CapturePath(), "");
  Receive(path, {Batch("G")}, ReceiveDisplay::Hex, false, &failure);
  EXPECT_FALSE(failure);
}

// Each batch carries its own wall-clock time; the stamp of a line is that of the
// batch that began it, whatever else was drained with it.
TEST(ReceivePath, StampsWithTheTimeOfTheBatchThatBeganTheBlockOrLine) {
  const WallTime t1 = testing::LocalTime(12, 34, 56, 789);
  const WallTime t2 = testing::LocalTime(12, 34, 57, 0);
  ReceivePath path;
  Preferences preferences;
  preferences.timestamps = true;
  path.ApplyPreferences(preferences);
  EXPECT_EQ(Receive(path, {Batch("\x01", 1000, t1), Batch("\x02", 1050, t2), Batch("\x03", 1200, t2)},
                    ReceiveDisplay::Hex, false),
            "[12:34:56.789] 01 02 \r\n    \r\n[12:34:57.000] 03 ");
  EXPECT_EQ(Receive(path, {Batch("\r\nab\r", 1300, t1), Batch("\ncd", 1301, t2)}, ReceiveDisplay::Characters, true),
            "\r\n[12:34:56.789] ab\r\n[12:34:57.000] cd");
}

// An echo is shown, but never counted, captured or checked.
TEST(ReceivePath, EchoesSentFramesWithoutCountingCapturingOrCheckingThem) {
  TempDir dir;
  const testing::ScopedEnvironment home("HOME", dir.Path().string());
  ReceivePath path;
  path.StartCapture();
  path.SetCheckRow(1);  // the first built-in checksum row
  ASSERT_TRUE(path.CheckOn());
  Receive(path, {Batch("\x01\x02", 1000)}, ReceiveDisplay::Hex, false);
  const std::optional<ReceivePath::EndedBlock> sent = path.EndBlock();
  ASSERT_TRUE(sent);
  EXPECT_FALSE(sent->mark.empty());
  EXPECT_EQ(path.Echo(Span("\x05\x06"), WallTime(), ReceiveDisplay::Hex), "05 06 \r\n");
  // The reply, within the frame gap of the last received batch, is a block of its own.
  EXPECT_EQ(Receive(path, {Batch("\x07", 1010)}, ReceiveDisplay::Hex, true), "07 ");
  EXPECT_FALSE(path.EndBlock()->mark.empty());
  EXPECT_EQ(path.GoodBlocks() + path.BadBlocks(), 2);
  EXPECT_EQ(path.RxCount(), 3);
  EXPECT_EQ(testing::ReadFile(path.CapturePath()), "\x01\x02\x07");
}

TEST(ReceivePath, TakesTheFrameGapWithinItsBoundsForBlocksAndTheirCheck) {
  ReceivePath path;
  EXPECT_EQ(path.FrameGap(), 100);
  Preferences preferences;
  preferences.frameGapMilliseconds = 0;
  path.ApplyPreferences(preferences);
  EXPECT_EQ(path.FrameGap(), Preferences::kMinFrameGap);
  preferences.frameGapMilliseconds = 20000;
  path.ApplyPreferences(preferences);
  EXPECT_EQ(path.FrameGap(), Preferences::kMaxFrameGap);

  preferences.frameGapMilliseconds = 300;
  path.ApplyPreferences(preferences);
  path.SetCheckRow(1);
  Receive(path, {Batch("\x01", 1000), Batch("\x02", 1300)}, ReceiveDisplay::Hex, false);
  EXPECT_EQ(path.GoodBlocks() + path.BadBlocks(), 0);
  const std::string text = Receive(path, {Batch("\x03", 1601)}, ReceiveDisplay::Hex, true);
  EXPECT_EQ(path.GoodBlocks() + path.BadBlocks(), 1);
  EXPECT_NE(text.find("\r\n    \r\n03 "), std::string::npos);
}

}  // namespace
}  // namespace portprobe
