#include "files/capture_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace portprobe {

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/tmp";
}

}  // namespace

std::string DefaultCaptureFolder() { return HomeFolder() + "/ttyprobe"; }

std::string DefaultCapturePath() { return DefaultCaptureFolder() + "/test1.txt"; }

CaptureFile::CaptureFile(const std::string& path, Mode mode) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : O_TRUNC);
  fd_ = ::open(path.c_str(), flags, 0666);
  if (fd_ < 0) error_ = errno;
}

CaptureFile::~CaptureFile() { Close(); }

void CaptureFile::Write(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
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
  if (fd_ >= 0 && ::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  return error_ == 0 ? std::string() : std::strerror(error_);
}

void CaptureFile::Fail() {
  error_ = errno;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace portprobe
