#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/expected.h"

namespace portprobe {

// A history entry holds at most this many bytes.
inline constexpr std::size_t kMaxHistoryEntry = 1023;
// An import keeps at most this many entries, from a file of at most kMaxHistoryFileBytes.
inline constexpr std::size_t kMaxHistoryEntries = 10000;
inline constexpr std::uint64_t kMaxHistoryFileBytes = 16 << 20;

// The text an entry stands for: an entry that starts with "<" and holds a ">" carries
// a label up to the first ">", which is shown but not used.
std::string_view HistoryEntryText(std::string_view entry);

struct HistoryFileContent {
  std::vector<std::string> entries;  // the first kMaxHistoryEntries
  std::size_t dropped = 0;           // entries after those
};

// Entries of a history file, one a line, up to the first empty line or a line that
// starts with the byte FF. A Failure when the file is no regular file, is too large,
// or cannot be opened or read.
Expected<HistoryFileContent> ReadHistoryFile(const std::string& path);

// Writes each entry followed by CR LF, replacing the file. False when it cannot be written.
bool WriteHistoryFile(const std::string& path, const std::vector<std::string>& entries);

}  // namespace portprobe
