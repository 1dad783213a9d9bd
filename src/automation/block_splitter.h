#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "common/byte_frame.h"
#include "common/tick.h"

namespace portprobe {

// Cuts received bytes into blocks as the hex display does: a block ends once the line
// has been silent for longer than the frame gap. Automatic replies and live decoding
// act on each ended block.
class BlockSplitter {
 public:
  // A block holds at most this many bytes: a line that never pauses is cut into blocks
  // of this size, so that none grows without bound and each is handed on in time.
  static constexpr std::size_t kMaxBlockBytes = 64 * 1024;

  explicit BlockSplitter(std::int32_t gapMilliseconds = 100) : gap_(gapMilliseconds) {}
  void SetGap(std::int32_t gapMilliseconds) { gap_ = gapMilliseconds; }
  std::int32_t Gap() const { return gap_; }

  // Adds bytes read at `tick` (at most kMaxBlockBytes at a time; more are dropped).
  // When they come after a pause longer than the gap, the block before them has ended
  // and is returned; when they fill the block under way, it is returned full and the
  // rest of them starts the next one.
  std::optional<ByteFrame> Add(std::span<const std::uint8_t> bytes, Tick tick);
  // The tick after which the block under way has ended if nothing more arrives; none
  // while no block is under way.
  std::optional<Tick> Deadline() const;
  // Ends the block under way when the line has been silent past its deadline at `now`.
  std::optional<ByteFrame> EndIfSilent(Tick now);
  // True when bytes read at `tick` would end the block under way.
  bool EndedBy(Tick tick) const { return !block_.empty() && TickDifference(tick, lastTick_) > gap_; }
  // The tick at which the last bytes were added.
  Tick LastTick() const { return lastTick_; }
  // Ends the block under way whatever the time, e.g. when its port closes; none when no block is under way.
  std::optional<ByteFrame> EndNow();

 private:
  std::int32_t gap_;
  ByteFrame block_;
  Tick lastTick_ = 0;
};

}  // namespace portprobe
