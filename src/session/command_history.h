#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/expected.h"

namespace portprobe {

// The command history: entries kept as the bytes they were added or read as, so that
// a file read in is written out again byte for byte. The window's list only shows them.
class CommandHistory {
 public:
  enum class AddResult { Added, Empty, TooLong, Duplicate };

  // Appends `entry` unless it is empty, longer than kMaxHistoryEntry or already there.
  AddResult Add(const std::string& entry);
  void Clear() { entries_.clear(); }

  const std::vector<std::string>& Entries() const { return entries_; }
  std::size_t Size() const { return entries_.size(); }
  // The text entry `index` stands for, without its label.
  std::string_view EntryText(std::size_t index) const;

  // Replaces the entries with those of the history file at `path`. Returns how many
  // entries beyond the limit were dropped; a Failure when the file is not read, and
  // then the entries stay as they were.
  Expected<std::size_t> Import(const std::string& path);
  // Writes the entries to `path`; an empty history writes nothing. False when the
  // file cannot be written.
  bool Export(const std::string& path) const;

 private:
  std::vector<std::string> entries_;
};

}  // namespace portprobe
