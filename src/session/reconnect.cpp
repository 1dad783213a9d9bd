#include "session/reconnect.h"

namespace portprobe {

std::optional<std::string> Reconnect::PathToTry() const {
  if (!awaited_) return std::nullopt;
  return ReopenPath(*awaited_);
}

bool Reconnect::KeepWaitingAfter(bool openFailed, bool opened) {
  if (openFailed) return true;
  awaited_.reset();
  if (opened) gone_ = stopped_ = false;
  return false;
}

}  // namespace portprobe
