#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "parser/runtime/script_value.h"

namespace portprobe::parser {

// A 32-bit address into the interpreter's own memory; 0 designates nothing.
using ScriptAddress = ScriptValue;

// The memory that scripts can address: variables' value words, array buffers and pooled
// texts. Blocks are placed at 32-bit offsets with a gap between them; every access is
// checked byte by byte, so a byte outside every block reads as 0 and ignores writes,
// and a text without a zero byte ends at its block's end.
class MemoryArena {
 public:
  // Live bytes the arena may hold at once; an allocation beyond it fails.
  static constexpr std::uint64_t kCapacity = 64u * 1024 * 1024;

  // A zero-filled block of the size, counted in AllocationCount; 0 when it does not fit.
  ScriptAddress CountedAllocate(std::uint32_t size);
  // Releases a block from CountedAllocate; ignores 0 and addresses that start no block.
  void CountedFree(ScriptAddress block);
  // A zero-filled block that lives as long as the arena and is not counted.
  ScriptAddress AllocatePermanent(std::uint32_t size);

  // Blocks from CountedAllocate not yet released.
  std::int32_t AllocationCount() const { return allocationCount_; }

  // Little-endian value of 1, 2 or 4 bytes.
  ScriptValue Read(ScriptAddress address, unsigned width) const;
  void Write(ScriptAddress address, unsigned width, ScriptValue value);

  // The zero-terminated text at the address.
  std::string ReadText(ScriptAddress address) const;
  // A counted block holding the text and a zero byte; 0 when it does not fit.
  ScriptAddress StoreText(std::string_view text);

 private:
  ScriptAddress Place(std::uint32_t size);

  std::map<ScriptAddress, std::vector<std::uint8_t>> blocks_;
  std::uint64_t liveBytes_ = 0;
  std::int32_t allocationCount_ = 0;
};

}  // namespace portprobe::parser
