#include "parser/runtime/memory_arena.h"

#include <algorithm>

namespace portprobe::parser {

namespace {

// Low addresses stay unused so that small numbers never designate storage by accident.
constexpr std::uint64_t kFirstAddress = 0x1000;
constexpr std::uint64_t kBlockAlignment = 8;
constexpr std::uint64_t kAddressLimit = 0x80000000u;

// The first aligned address after a block, leaving at least one unused byte behind it.
std::uint64_t NextFreeAddress(std::uint64_t blockStart, std::uint64_t blockSize) {
  const std::uint64_t afterGap = blockStart + blockSize + 1;
  return (afterGap + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
}

// The byte at the address inside its block, or nullptr outside every block; one
// template serves the reading and the writing side.
template <typename Blocks>
auto FindByte(Blocks& blocks, ScriptAddress address) -> decltype(blocks.begin()->second.data()) {
  auto it = blocks.upper_bound(address);
  if (it == blocks.begin()) return nullptr;
  --it;
  const std::uint64_t offset = address - it->first;
  return offset < it->second.size() ? it->second.data() + offset : nullptr;
}

}  // namespace

ScriptAddress MemoryArena::Place(std::uint32_t size) {
  if (liveBytes_ + size > kCapacity) return 0;
  std::uint64_t candidate = kFirstAddress;
  for (const auto& [start, bytes] : blocks_) {
    if (candidate + size < start) break;
    candidate = std::max(candidate, NextFreeAddress(start, bytes.size()));
  }
  if (candidate + size >= kAddressLimit) return 0;
  blocks_.emplace(static_cast<ScriptAddress>(candidate), std::vector<std::uint8_t>(size, 0));
  liveBytes_ += size;
  return static_cast<ScriptAddress>(candidate);
}

ScriptAddress MemoryArena::CountedAllocate(std::uint32_t size) {
  const ScriptAddress block = Place(size);
  if (block != 0) ++allocationCount_;
  return block;
}

void MemoryArena::CountedFree(ScriptAddress block) {
  const auto it = blocks_.find(block);
  if (it == blocks_.end()) return;
  liveBytes_ -= it->second.size();
  blocks_.erase(it);
  --allocationCount_;
}

ScriptAddress MemoryArena::AllocatePermanent(std::uint32_t size) { return Place(size); }

ScriptValue MemoryArena::Read(ScriptAddress address, unsigned width) const {
  ScriptValue value = 0;
  for (unsigned i = 0; i < width; ++i) {
    const std::uint8_t* byte = FindByte(blocks_, address + i);
    if (byte != nullptr) value |= static_cast<ScriptValue>(*byte) << (8 * i);
  }
  return value;
}

void MemoryArena::Write(ScriptAddress address, unsigned width, ScriptValue value) {
  for (unsigned i = 0; i < width; ++i) {
    std::uint8_t* byte = FindByte(blocks_, address + i);
    if (byte != nullptr) *byte = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

std::string MemoryArena::ReadText(ScriptAddress address) const {
  std::string text;
  for (const std::uint8_t* byte = FindByte(blocks_, address); byte != nullptr && *byte != 0;
       byte = FindByte(blocks_, ++address)) {
    text += static_cast<char>(*byte);
  }
  return text;
}

ScriptAddress MemoryArena::StoreText(std::string_view text) {
  const ScriptAddress block = CountedAllocate(static_cast<std::uint32_t>(text.size() + 1));
  if (block == 0) return 0;
  std::copy(text.begin(), text.end(), blocks_.at(block).begin());
  return block;
}

}  // namespace portprobe::parser
