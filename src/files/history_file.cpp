#include "files/history_file.h"

#include <cerrno>
#include <cstring>

#include "common/c_file.h"
#include "common/regular_file.h"
#include "files/text_line_reader.h"

namespace portprobe {

std::string_view HistoryEntryText(std::string_view entry) {
  const std::size_t end = entry.find('>');
  if (!entry.starts_with('<') || end == std::string_view::npos) return entry;
  return entry.substr(end + 1);
}

Expected<HistoryFileContent> ReadHistoryFile(const std::string& path) {
  Expected<RegularFile> file = OpenRegularFile(path, kMaxHistoryFileBytes);
  if (!file) return Failure{file.Reason()};
  SkipByteOrderMark(*file);
  TextLineReader reader(file->stream.get(), kMaxHistoryFileBytes);
  HistoryFileContent content;
  for (;;) {
    std::string line = reader.ReadTextLine(kMaxHistoryEntry);
    if (line.empty() || static_cast<unsigned char>(line[0]) == 0xFF) break;
    if (content.entries.size() < kMaxHistoryEntries) {
      content.entries.push_back(std::move(line));
    } else {
      ++content.dropped;
    }
  }
  if (std::ferror(file->stream.get())) return Failure{std::strerror(errno)};
  return content;
}

bool WriteHistoryFile(const std::string& path, const std::vector<std::string>& entries) {
  CFile file = OpenCFile(path, "wb");
  if (!file) return false;
  // The reader passes over one byte-order mark at the start: an entry that begins as
  // one keeps it behind a mark of the file's own.
  const bool marked = !entries.empty() && entries.front().starts_with(kUtf8ByteOrderMark);
  bool written = !marked || std::fwrite(kUtf8ByteOrderMark.data(), 1, kUtf8ByteOrderMark.size(), file.get()) ==
                                kUtf8ByteOrderMark.size();
  for (const std::string& entry : entries) {
    written = written && std::fwrite(entry.data(), 1, entry.size(), file.get()) == entry.size() &&
              std::fputs("\r\n", file.get()) >= 0;
  }
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace portprobe
