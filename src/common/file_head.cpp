#include "common/file_head.h"

#include <unistd.h>

#include <cerrno>

namespace portprobe {

std::optional<ByteFrame> ReadFileHead(int fd, std::size_t maxBytes) {
  ByteFrame head(maxBytes);
  std::size_t filled = 0;
  while (filled < head.size()) {
    const ssize_t count = ::pread(fd, head.data() + filled, head.size() - filled, static_cast<off_t>(filled));
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    filled += static_cast<std::size_t>(count);
  }
  head.resize(filled);
  return head;
}

}  // namespace portprobe
