#include "session/outbox.h"

#include <utility>

namespace portprobe {

void Outbox::BeginSend(bool linkIdle) {
  if (!Empty() || !linkIdle) return;
  writtenThisSend_ = 0;
  cut_ = false;
}

std::size_t Outbox::Drop() {
  const std::size_t dropped = bytes_.size() - handed_;
  bytes_.clear();
  bytes_.shrink_to_fit();
  handed_ = 0;
  return dropped;
}

bool Outbox::TakeCut() {
  const bool cut = cut_ || !Empty();
  cut_ = false;
  return cut;
}

}  // namespace portprobe
