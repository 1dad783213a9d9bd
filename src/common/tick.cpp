#include "common/tick.h"

#include <chrono>

namespace portprobe {

Tick CurrentTick() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<Tick>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace portprobe
