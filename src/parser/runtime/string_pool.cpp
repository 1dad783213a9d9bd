#include "parser/runtime/string_pool.h"

namespace portprobe::parser {

ScriptAddress StringPool::PoolString(std::string_view text) {
  if (texts_.size() == kCapacity) return 0;
  const ScriptAddress copy = arena_.StoreText(text);
  if (copy != 0) texts_.push_back(copy);
  return copy;
}

void StringPool::Empty() {
  for (ScriptAddress text : texts_) arena_.CountedFree(text);
  texts_.clear();
}

}  // namespace portprobe::parser
