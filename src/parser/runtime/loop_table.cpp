#include "parser/runtime/loop_table.h"

#include <algorithm>

namespace portprobe::parser {

void LoopTable::Prune(int line) {
  std::erase_if(entries_, [line](const LoopEntry& entry) { return line < entry.head || line > entry.bodyEnd; });
}

int LoopTable::LoopBack(int line) {
  const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                  [line](const LoopEntry& candidate) { return candidate.bodyEnd == line; });
  if (entry == entries_.end()) return -1;
  const int head = entry->head;
  if (!entry->isFor) entries_.erase(entry);
  return head;
}

int LoopTable::FindByHead(int line) const {
  const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                  [line](const LoopEntry& candidate) { return candidate.head == line; });
  return entry == entries_.end() ? -1 : static_cast<int>(entry - entries_.begin());
}

}  // namespace portprobe::parser
