#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace portprobe {

std::string TooLargeReason(std::uint64_t maxBytes) { return "文件太大，最多" + std::to_string(maxBytes) + "字节"; }

Expected<RegularFile> OpenRegularFile(const std::string& path, std::uint64_t maxBytes) {
  // What is no regular file is not even opened: opening a serial port resets some
  // boards, and open() refuses a socket with a reason that does not say so.
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) return Failure{kNotRegularFileReason};
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Failure{errno == ENOENT ? kMissingFileReason : std::strerror(errno)};
  // Checked again on what was opened, in case the path was replaced meanwhile.
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return Failure{kNotRegularFileReason};
  }
  const auto size = static_cast<std::uint64_t>(status.st_size);
  if (size > maxBytes) {
    ::close(fd);
    return Failure{TooLargeReason(maxBytes)};
  }
  std::FILE* stream = ::fdopen(fd, "rb");
  if (stream == nullptr) {
    Failure failure{std::strerror(errno)};
    ::close(fd);
    return failure;
  }
  return RegularFile{CFile(stream), size};
}

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
