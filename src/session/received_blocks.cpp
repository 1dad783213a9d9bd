#include "session/received_blocks.h"

#include <algorithm>
#include <utility>

namespace portprobe {

std::optional<Tick> ReceivedBlocks::Deadline() const {
  if (!UnderWay()) return std::nullopt;
  return static_cast<Tick>(block_.lastTick + static_cast<Tick>(gap_));
}

std::vector<ReceivedBlock> ReceivedBlocks::Add(std::span<const std::uint8_t> bytes, Tick tick, WallTime time) {
  std::vector<ReceivedBlock> ended;
  if (bytes.empty()) return ended;
  if (EndedBy(tick)) ended.push_back(*EndNow());
  while (!bytes.empty()) {
    if (!UnderWay()) {
      block_.number = ++lastNumber_;
      block_.began = time;
    }
    const std::size_t taken = std::min(Room(), bytes.size());
    block_.bytes.insert(block_.bytes.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(taken));
    block_.lastTick = tick;
    bytes = bytes.subspan(taken);
    if (Room() == 0) ended.push_back(*EndNow());
  }
  return ended;
}

std::optional<ReceivedBlock> ReceivedBlocks::EndIfSilent(Tick now) {
  if (!EndedBy(now)) return std::nullopt;
  return EndNow();
}

std::optional<ReceivedBlock> ReceivedBlocks::EndNow() {
  if (!UnderWay()) return std::nullopt;
  ReceivedBlock ended = std::move(block_);
  block_ = ReceivedBlock{};
  return ended;
}

}  // namespace portprobe
