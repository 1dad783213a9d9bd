#include "common/regular_file.h"

#include <cerrno>
#include <cstring>

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

}  // namespace portprobe
