#include "session/busy_state.h"

#include <algorithm>
#include <utility>

namespace portprobe {

void BusyState::RunJob(std::function<void()> stop, const std::function<void()>& wait) {
  stopJob_ = std::move(stop);
  wait();
  stopJob_ = nullptr;
}

bool BusyState::DeferDone(int result) {
  if (!JobRunning()) return false;
  stopJob_();
  deferredDone_ = result;
  return true;
}

bool BusyState::DeferHangUp() {
  if (!JobRunning()) return false;
  hangUpDeferred_ = true;
  return true;
}

bool BusyState::TakeDeferredHangUp() { return std::exchange(hangUpDeferred_, false); }

std::optional<int> BusyState::TakeDeferredDone() { return std::exchange(deferredDone_, std::nullopt); }

void BusyState::AddNoticeOnce(const std::string& text) {
  if (std::find(pendingNotices_.begin(), pendingNotices_.end(), text) == pendingNotices_.end()) AddNotice(text);
}

void BusyState::ShowNotices(const std::function<void(const std::string&)>& show) {
  if (showingNotices_) return;
  showingNotices_ = true;
  while (!pendingNotices_.empty()) {
    const std::string text = std::move(pendingNotices_.front());
    pendingNotices_.erase(pendingNotices_.begin());
    show(text);
  }
  showingNotices_ = false;
}

}  // namespace portprobe
