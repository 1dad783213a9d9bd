#include "session/reconnect.h"

#include <algorithm>

#include "serial/network_address.h"

namespace portprobe {

std::optional<std::string> Reconnect::PathToTry() const {
  if (!awaited_) return std::nullopt;
  return ReopenPath(*awaited_);
}

bool Reconnect::KeepWaitingAfter(bool openFailed, bool opened) {
  if (openFailed) {
    ++failedTries_;
    return true;
  }
  awaited_.reset();
  if (opened) gone_ = stopped_ = false;
  return false;
}

std::chrono::milliseconds Reconnect::TryInterval() const {
  if (!awaited_ || !IsNetworkPortName(awaited_->path)) return kTryInterval;
  return std::min(kTryInterval * (1 << std::min(failedTries_, 4)), kLongestTryInterval);
}

}  // namespace portprobe
