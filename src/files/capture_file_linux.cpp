#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "files/capture_file.h"

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

int CaptureFile::OpenDescriptor(const std::string& path, Mode mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : O_TRUNC), 0666);
}

long CaptureFile::WriteSome(int fd, const std::uint8_t* bytes, std::size_t count) { return ::write(fd, bytes, count); }

int CaptureFile::CloseDescriptor(int fd) { return ::close(fd); }

}  // namespace portprobe
