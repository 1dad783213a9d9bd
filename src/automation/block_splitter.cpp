#include "automation/block_splitter.h"

#include <algorithm>

namespace portprobe {

std::optional<ByteFrame> BlockSplitter::Add(std::span<const std::uint8_t> bytes, Tick tick) {
  std::optional<ByteFrame> ended;
  if (bytes.empty()) return ended;
  if (!block_.empty() && TickDifference(tick, lastTick_) > gap_) {
    ended = std::move(block_);
    block_.clear();
  }
  const std::size_t room = kMaxBlockBytes - std::min(block_.size(), kMaxBlockBytes);
  block_.insert(block_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(room, bytes.size())));
  lastTick_ = tick;
  return ended;
}

std::optional<Tick> BlockSplitter::Deadline() const {
  if (block_.empty()) return std::nullopt;
  return static_cast<Tick>(lastTick_ + static_cast<Tick>(gap_));
}

std::optional<ByteFrame> BlockSplitter::EndIfSilent(Tick now) {
  if (block_.empty() || TickDifference(now, lastTick_) <= gap_) return std::nullopt;
  ByteFrame ended = std::move(block_);
  block_.clear();
  return ended;
}

}  // namespace portprobe
