#include "parser/runtime/variable_store.h"

#include "parser/language/ascii.h"

namespace portprobe::parser {

VariableStore::VariableStore(MemoryArena& arena) : arena_(arena), valueWords_(arena.AllocatePermanent(4 * kCapacity)) {
  records_.reserve(kCapacity);
}

void VariableStore::Clear() {
  records_.clear();
  for (int slot = 0; slot < kCapacity; ++slot) SetValue(slot, 0);
}

void VariableStore::DestroyFrom(int slot) {
  for (int i = slot; i < UsedCount(); ++i) {
    arena_.CountedFree(records_[i].ownedBuffer);
    SetValue(i, 0);
  }
  if (slot < UsedCount()) records_.resize(slot);
}

bool VariableStore::IsVisible(int slot) const {
  return !functionBase_.has_value() || slot < globalCount_ || slot >= *functionBase_;
}

int VariableStore::FindVisible(std::string_view name) const {
  for (int slot = 0; slot < UsedCount(); ++slot) {
    if (IsVisible(slot) && EqualsIgnoreCase(records_[slot].name, name)) return slot;
  }
  return -1;
}

int VariableStore::FindOrCreate(std::string_view name) {
  const int found = FindVisible(name);
  if (found >= 0) return found;
  if (UsedCount() == kCapacity) return -1;
  records_.push_back(VariableRecord{std::string(name)});
  SetValue(UsedCount() - 1, 0);
  return UsedCount() - 1;
}

void VariableStore::Delete(std::string_view name) {
  int slot = 0;
  while (slot < UsedCount() && !EqualsIgnoreCase(records_[slot].name, name)) ++slot;
  if (slot == UsedCount()) return;
  arena_.CountedFree(records_[slot].ownedBuffer);
  for (int i = slot; i + 1 < UsedCount(); ++i) SetValue(i, Value(i + 1));
  SetValue(UsedCount() - 1, 0);
  records_.erase(records_.begin() + slot);
}

}  // namespace portprobe::parser
