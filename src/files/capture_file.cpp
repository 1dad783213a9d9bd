#include "files/capture_file.h"

#include <cerrno>
#include <cstring>

namespace portprobe {

CaptureFile::CaptureFile(const std::string& path, Mode mode) : fd_(OpenDescriptor(path, mode)) {
  if (fd_ < 0) error_ = errno;
}

CaptureFile::~CaptureFile() { Close(); }

void CaptureFile::Write(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < bytes.size()) {
    const long n = WriteSome(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n == 0) errno = EIO;
      Fail();
    }
  }
}

void CaptureFile::Write(std::string_view text) {
  Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string CaptureFile::Close() {
  if (fd_ >= 0 && CloseDescriptor(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  return error_ == 0 ? std::string() : std::strerror(error_);
}

void CaptureFile::Fail() {
  error_ = errno;
  CloseDescriptor(fd_);
  fd_ = -1;
}

}  // namespace portprobe
