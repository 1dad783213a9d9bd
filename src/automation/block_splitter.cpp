#include "automation/block_splitter.h"

#include <algorithm>

namespace portprobe {

std::optional<ByteFrame> BlockSplitter::Add(std::span<const std::uint8_t> bytes, Tick tick) {
  std::optional<ByteFrame> ended;
  if (bytes.empty()) return ended;
  if (EndedBy(tick)) ended = EndNow();
  bytes = bytes.first(std::min(bytes.size(), kMaxBlockBytes));
  const std::size_t taken = std::min(kMaxBlockBytes - block_.size(), bytes.size());
  block_.insert(block_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(taken));
  lastTick_ = tick;
  if (block_.size() < kMaxBlockBytes || ended) return ended;
  ended = EndNow();
  block_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(taken), bytes.end());
  return ended;
}

std::optional<Tick> BlockSplitter::Deadline() const {
  if (block_.empty()) return std::nullopt;
  return static_cast<Tick>(lastTick_ + static_cast<Tick>(gap_));
}

std::optional<ByteFrame> BlockSplitter::EndIfSilent(Tick now) {
  if (!EndedBy(now)) return std::nullopt;
  return EndNow();
}

std::optional<ByteFrame> BlockSplitter::EndNow() {
  if (block_.empty()) return std::nullopt;
  ByteFrame ended = std::move(block_);
  block_.clear();
  return ended;
}

}  // namespace portprobe
