#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace portprobe {

std::string TooLargeReason(std::uint64_t maxBytes) {
  return "文件太大，最多" + std::to_string(maxBytes) + "字节";
}

std::optional<RegularFile> OpenRegularFile(const std::string& path, std::uint64_t maxBytes, std::string* error) {
  // What is no regular file is not even opened: opening a serial port resets some
  // boards, and open() refuses a socket with a reason that does not say so.
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    *error = kNotRegularFileReason;
    return std::nullopt;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    *error = errno == ENOENT ? kMissingFileReason : std::strerror(errno);
    return std::nullopt;
  }
  // Checked again on what was opened, in case the path was replaced meanwhile.
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    *error = kNotRegularFileReason;
    ::close(fd);
    return std::nullopt;
  }
  const auto size = static_cast<std::uint64_t>(status.st_size);
  if (size > maxBytes) {
    *error = TooLargeReason(maxBytes);
    ::close(fd);
    return std::nullopt;
  }
  std::FILE* stream = ::fdopen(fd, "rb");
  if (stream == nullptr) {
    *error = std::strerror(errno);
    ::close(fd);
    return std::nullopt;
  }
  return RegularFile{CFile(stream), size};
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::uint64_t maxBytes, std::string* error) {
  std::optional<RegularFile> file = OpenRegularFile(path, maxBytes, error);
  if (!file) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(file->size));
  char piece[65536];
  while (const std::size_t count = std::fread(piece, 1, sizeof piece, file->stream.get())) {
    if (bytes.size() + count > maxBytes) {
      *error = TooLargeReason(maxBytes);
      return std::nullopt;
    }
    bytes.append(piece, count);
  }
  if (std::ferror(file->stream.get())) {
    *error = std::strerror(errno);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace portprobe
