#include "session/command_history.h"

#include <algorithm>

#include "files/history_file.h"

namespace portprobe {

CommandHistory::AddResult CommandHistory::Add(const std::string& entry) {
  if (entry.empty()) return AddResult::Empty;
  if (entry.size() > kMaxHistoryEntry) return AddResult::TooLong;
  if (std::find(entries_.begin(), entries_.end(), entry) != entries_.end()) return AddResult::Duplicate;
  entries_.push_back(entry);
  return AddResult::Added;
}

std::string_view CommandHistory::EntryText(std::size_t index) const { return HistoryEntryText(entries_.at(index)); }

Expected<std::size_t> CommandHistory::Import(const std::string& path) {
  Expected<HistoryFileContent> content = ReadHistoryFile(path);
  if (!content) return Failure{content.Reason()};
  entries_ = std::move(content->entries);
  return content->dropped;
}

bool CommandHistory::Export(const std::string& path) const {
  if (entries_.empty()) return true;
  return WriteHistoryFile(path, entries_);
}

}  // namespace portprobe
