#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "parser/runtime/memory_arena.h"
#include "parser/runtime/type_table.h"

namespace portprobe::parser {

// One script variable. Its value word lives in the arena (so that "&" can address it);
// the record keeps the element buffer that it owns apart from that word, since a script
// may overwrite the word: the buffer is released exactly once, whatever the word holds.
struct VariableRecord {
  std::string name;
  TypeWord type = 0;
  ScriptAddress ownedBuffer = 0;
};

// The fixed table of every variable of a run, globals and the locals of running
// functions alike, used from slot 0 upward without gaps.
class VariableStore {
 public:
  static constexpr int kCapacity = 1024;

  explicit VariableStore(MemoryArena& arena);

  // Empties every slot without releasing anything: the end of the last run did that.
  void Clear();
  int UsedCount() const { return static_cast<int>(records_.size()); }
  // Releases the names and buffers of the slots from `slot` on and empties them.
  void DestroyFrom(int slot);

  // Scope: slots below the global count hold globals; a running function sees the
  // globals and the slots from its base on, not its callers' locals. In the global
  // pass (no base) every slot is visible.
  void SetGlobalCount(int count) { globalCount_ = count; }
  int GlobalCount() const { return globalCount_; }
  void SetFunctionBase(std::optional<int> base) { functionBase_ = base; }
  std::optional<int> FunctionBase() const { return functionBase_; }
  bool IsVisible(int slot) const;

  // Slot of the first visible record of that name (case-insensitive), or -1.
  int FindVisible(std::string_view name) const;
  // FindVisible, else a new untyped record holding 0; -1 when the store is full.
  int FindOrCreate(std::string_view name);
  // Removes the first record of that name in any scope; later records move down.
  void Delete(std::string_view name);

  const VariableRecord& Record(int slot) const { return records_[slot]; }
  void SetType(int slot, TypeWord type) { records_[slot].type = type; }
  void SetOwnedBuffer(int slot, ScriptAddress buffer) { records_[slot].ownedBuffer = buffer; }
  ScriptValue Value(int slot) const { return arena_.Read(ValueAddress(slot), 4); }
  void SetValue(int slot, ScriptValue value) { arena_.Write(ValueAddress(slot), 4, value); }
  ScriptAddress ValueAddress(int slot) const { return valueWords_ + 4 * static_cast<ScriptValue>(slot); }

 private:
  MemoryArena& arena_;
  ScriptAddress valueWords_;
  std::vector<VariableRecord> records_;
  int globalCount_ = 0;
  std::optional<int> functionBase_;
};

}  // namespace portprobe::parser
