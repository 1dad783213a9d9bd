#include "common/regular_file.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace portprobe {

std::string TooLargeReason(std::uint64_t maxBytes) { return "文件太大，最多" + std::to_string(maxBytes) + "字节"; }

Expected<std::string> ReadRegularFile(const std::string& path, std::uint64_t maxBytes) {
  Expected<RegularFile> file = OpenRegularFile(path, maxBytes);
  if (!file) return Failure{file.Reason()};
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(file->size));
  char piece[65536];
  while (const std::size_t count = std::fread(piece, 1, sizeof piece, file->stream.get())) {
    if (bytes.size() + count > maxBytes) return Failure{TooLargeReason(maxBytes)};
    bytes.append(piece, count);
  }
  if (std::ferror(file->stream.get())) return Failure{std::strerror(errno)};
  return bytes;
}

Expected<std::string> ReadTextFile(const std::string& path, std::uint64_t maxBytes) {
  Expected<std::string> text = ReadRegularFile(path, maxBytes);
  if (text && text->starts_with(kUtf8ByteOrderMark)) text->erase(0, kUtf8ByteOrderMark.size());
  return text;
}

void SkipByteOrderMark(RegularFile& file) {
  char start[3] = {};
  const std::size_t count = std::fread(start, 1, sizeof start, file.stream.get());
  if (std::string_view(start, count) != kUtf8ByteOrderMark) std::fseek(file.stream.get(), 0, SEEK_SET);
}

}  // namespace portprobe
