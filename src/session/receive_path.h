#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/expected.h"
#include "serial/serial_event.h"
#include "session/frame_check.h"
#include "session/preferences.h"
#include "session/receive_formatter.h"
#include "session/received_blocks.h"

namespace portprobe {

// What happens to received bytes before the window shows them: a flood is cut into
// slices, the bytes are cut into blocks by the one block clock (ReceivedBlocks), each
// batch is formatted for the receive box, counted, and appended to the capture file
// while capture is on; each ended block gets the receive check's mark. The byte
// counters of both directions live here, since they are shown and reset together.
class ReceivePath {
 public:
  // About this many received bytes make one slice, shown with one append.
  static constexpr std::size_t kSliceBytes = std::size_t{256} << 10;
  // A terminal screen interprets a flood about ten times slower than the box shows it:
  // smaller slices keep each turn of the event loop near a millisecond, so that a key
  // typed meanwhile goes out at once.
  static constexpr std::size_t kConsoleSliceBytes = std::size_t{8} << 10;

  struct CaptureFailure {
    std::string path;
    std::string reason;
  };

  // A block that ended, with the receive check's mark to show after it: empty while
  // the check is off, or when the block was not all shown as hex in the box.
  struct EndedBlock {
    ReceivedBlock block;
    std::string mark;
  };
  // Shows text for the box, then the block that ended after it, if any. It may end
  // the block under way (a send does), since every byte received so far has been shown.
  using ShowPiece = std::function<void(std::string_view text, const EndedBlock* ended)>;

  // Events taken from the link wait in the backlog until they are handled. More is
  // taken from the link only once the backlog is empty, so that the link's own limit
  // holds the device back while the window is behind.
  bool BacklogEmpty() const { return backlog_.empty(); }
  void FillBacklog(std::deque<SerialEvent> events);
  // The next events in arrival order, up to about `bytes` of received bytes.
  std::vector<SerialEvent> TakeSlice(std::size_t bytes = kSliceBytes);

  // Counts and captures `batches`, and hands `show` their text for the box in pieces:
  // each block that ends among them right after its last text. `boxHasText` tells
  // whether anything stands in the box before them. Batches read by another connection
  // than `connection` (one closed since) are shown but belong to no block. A capture
  // file that cannot be written switches capture off and is returned.
  std::optional<CaptureFailure> Receive(std::span<const SerialEvent> batches, std::uint32_t connection,
                                        ReceiveDisplay display, bool boxHasText, const ShowPiece& show);
  // The block under way ends when the line has been silent past its deadline at `now`.
  std::optional<EndedBlock> EndIfSilent(Tick now) { return Ended(blocks_.EndIfSilent(now)); }
  // The block under way ends whatever the time: a frame is sent, or the port closes.
  std::optional<EndedBlock> EndBlock() { return Ended(blocks_.EndNow()); }
  bool BlockUnderWay() const { return blocks_.UnderWay(); }
  std::optional<Tick> BlockDeadline() const { return blocks_.Deadline(); }

  // The text that shows a frame sent at `time` at the start of a line of the box, in
  // the display's layout and ending its last line. The frame is neither counted nor
  // captured, and it is no part of a received block: the block under way should be
  // ended (EndBlock) before it.
  std::string Echo(std::span<const std::uint8_t> bytes, WallTime time, ReceiveDisplay display);
  // Other text now stands on lines of its own after the received text; what arrives
  // next starts a new block or line in the box.
  void OtherTextShown() { formatter_.BreakBlock(); }
  // Timestamps, the frame gap and the encoding, from the next batch on. A gap outside its bounds is
  // taken as the nearest bound.
  void ApplyPreferences(const Preferences& preferences);
  std::int32_t FrameGap() const { return blocks_.Gap(); }
  // The characters a line of the box shows; hex lines begun from now on fit them.
  void SetColumns(int columns) { formatter_.SetColumns(columns); }

  // The box was cleared: the next hex byte starts a line, and the block whose start
  // went with it is not marked.
  void BoxCleared() {
    formatter_.StartNewLine();
    blockShownAsHex_ = false;
  }

  // The receive check marks every hex block good or bad by a checksum row; none
  // switches it off.
  void SetCheckRow(std::optional<ChecksumType> row) { check_.SetRow(row); }
  bool CheckOn() const { return check_.On(); }
  std::int64_t GoodBlocks() const { return check_.GoodCount(); }
  std::int64_t BadBlocks() const { return check_.BadCount(); }

  std::int64_t RxCount() const { return rxCount_; }
  std::int64_t TxCount() const { return txCount_; }
  void CountWritten(std::uint64_t bytes) { txCount_ += static_cast<std::int64_t>(bytes); }
  void ResetCounters() {
    rxCount_ = txCount_ = 0;
    check_.ResetCounters();
  }

  // Capture: empty path while it is off. Switching it on always chooses the default
  // file, creating its folder when missing.
  const std::string& CapturePath() const { return capturePath_; }
  void StartCapture();
  void StopCapture() { capturePath_.clear(); }
  void SetCapturePath(std::string path) { capturePath_ = std::move(path); }
  // Makes `text` the capture file's whole content: a longer old file must not leave
  // its tail behind.
  Outcome SaveToCaptureFile(std::string_view text) const;

 private:
  std::optional<CaptureFailure> Capture(std::span<const SerialEvent> batches);
  void ReceiveBatch(const SerialEvent& batch, ReceiveDisplay display, bool& boxHasText, std::string& text,
                    const ShowPiece& show);
  std::optional<EndedBlock> Ended(std::optional<ReceivedBlock> block);

  std::deque<SerialEvent> backlog_;
  ReceivedBlocks blocks_;
  ReceiveFormatter formatter_;
  FrameCheck check_;
  // Every byte of the block under way was shown as hex, so the check may mark it.
  bool blockShownAsHex_ = false;
  std::int64_t rxCount_ = 0;
  std::int64_t txCount_ = 0;
  std::string capturePath_;
};

}  // namespace portprobe
