#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/byte_frame.h"
#include "common/tick.h"
#include "serial/frame_gap.h"

namespace portprobe {

// A block of received bytes as it ended.
struct ReceivedBlock {
  // Blocks count from 1 in the order they began, so that what is said of a block later
  // (its decoding) can name it.
  std::uint64_t number = 0;
  ByteFrame bytes;
  // When its first bytes were read (wall clock) and its last (tick).
  WallTime began;
  Tick lastTick = 0;
};

// The one clock that decides where received blocks end, for everything that acts on
// blocks: the receive box and its check, automatic replies, live decoding, the
// command-line monitor and the simulator. A block ends when
// - the line has been silent for longer than the frame gap, measured between the
//   arrival ticks of the bytes, never from when they were handled;
// - this side sends a frame, since a request begins a new exchange (EndNow);
// - it holds kMaxBlockBytes, so that a line that never pauses is still handed on.
class ReceivedBlocks {
 public:
  static constexpr std::size_t kMaxBlockBytes = 64 * 1024;

  explicit ReceivedBlocks(std::int32_t gapMilliseconds = kDefaultFrameGapMilliseconds) : gap_(gapMilliseconds) {}
  void SetGap(std::int32_t gapMilliseconds) { gap_ = gapMilliseconds; }
  std::int32_t Gap() const { return gap_; }

  bool UnderWay() const { return !block_.bytes.empty(); }
  // True when bytes read at `tick` would begin a new block.
  bool BeginsBlock(Tick tick) const { return !UnderWay() || EndedBy(tick); }
  // The tick after which the block under way has ended if nothing more arrives; none
  // while no block is under way.
  std::optional<Tick> Deadline() const;
  // Bytes the block under way still takes before it is full.
  std::size_t Room() const { return kMaxBlockBytes - block_.bytes.size(); }

  // Adds bytes read at `tick` (wall clock `time`) and gives the blocks they end, in
  // order: the one before them when they come after a pause longer than the gap, and
  // each that they fill.
  std::vector<ReceivedBlock> Add(std::span<const std::uint8_t> bytes, Tick tick, WallTime time);
  // Ends the block under way when the line has been silent past its deadline at `now`.
  std::optional<ReceivedBlock> EndIfSilent(Tick now);
  // Ends the block under way whatever the time: a frame is sent, or the port closes.
  std::optional<ReceivedBlock> EndNow();

 private:
  bool EndedBy(Tick tick) const { return UnderWay() && TickDifference(tick, block_.lastTick) > gap_; }

  std::int32_t gap_;
  ReceivedBlock block_;
  std::uint64_t lastNumber_ = 0;
};

}  // namespace portprobe
