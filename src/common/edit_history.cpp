#include "common/edit_history.h"

namespace portprobe {

namespace {

// The longest insertion that counts as typing (one character in UTF-8), and the longest
// run of typing that one undo takes back.
constexpr std::size_t kTypedBytes = 4;
constexpr std::size_t kTypingRun = 256;

bool ContinuesTyping(const TextEdit& last, const TextEdit& edit) {
  return edit.removed.empty() && edit.inserted.size() <= kTypedBytes && last.removed.empty() &&
         last.inserted.size() < kTypingRun && last.position + last.inserted.size() == edit.position;
}

}  // namespace

void EditHistory::Record(TextEdit edit) {
  redo_.clear();
  if (!undo_.empty() && ContinuesTyping(undo_.back(), edit)) {
    undo_.back().inserted += edit.inserted;
    return;
  }
  if (undo_.size() == kMaxEntries) undo_.erase(undo_.begin());
  undo_.push_back(std::move(edit));
}

std::optional<TextEdit> EditHistory::TakeUndo() {
  if (undo_.empty()) return std::nullopt;
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  return redo_.back();
}

std::optional<TextEdit> EditHistory::TakeRedo() {
  if (redo_.empty()) return std::nullopt;
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  return undo_.back();
}

void EditHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

}  // namespace portprobe
