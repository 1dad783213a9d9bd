#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portprobe {

// A history entry holds at most this many bytes.
inline constexpr std::size_t kMaxHistoryEntry = 1023;

// The text an entry stands for: an entry that starts with "<" and holds a ">" carries
// a label up to the first ">", which is shown but not used.
std::string_view HistoryEntryText(std::string_view entry);

// Entries of a history file, one a line, up to the first empty line or a line that
// starts with the byte FF. Nothing when the file cannot be opened or read.
std::optional<std::vector<std::string>> ReadHistoryFile(const std::string& path);

// Writes each entry followed by CR LF, replacing the file. False when it cannot be written.
bool WriteHistoryFile(const std::string& path, const std::vector<std::string>& entries);

}  // namespace portprobe
