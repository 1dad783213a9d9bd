#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace portprobe {

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

}  // namespace portprobe
