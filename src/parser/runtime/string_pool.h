#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "parser/runtime/memory_arena.h"

namespace portprobe::parser {

// The texts that a run creates (string literals and stored string elements). They stay
// until the run ends, when the whole pool is emptied.
class StringPool {
 public:
  static constexpr std::size_t kCapacity = 1000;

  explicit StringPool(MemoryArena& arena) : arena_(arena) {}

  // Address of a new copy of the text, or 0 when the pool is full or memory ran out.
  ScriptAddress PoolString(std::string_view text);
  // Releases every text.
  void Empty();

 private:
  MemoryArena& arena_;
  std::vector<ScriptAddress> texts_;
};

}  // namespace portprobe::parser
