#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>

#include "common/wide_text.h"
#include "files/capture_file.h"

namespace portprobe {

std::string DefaultCaptureFolder() { return "c:\\ttyprobe"; }

std::string DefaultCapturePath() { return "c:\\ttyprobe\\test1.txt"; }

int CaptureFile::OpenDescriptor(const std::string& path, Mode mode) {
  const int flags = _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT | (mode == Mode::Append ? _O_APPEND : _O_TRUNC);
  return ::_wopen(WideFromUtf8(path).c_str(), flags, _S_IREAD | _S_IWRITE);
}

long CaptureFile::WriteSome(int fd, const std::uint8_t* bytes, std::size_t count) {
  return ::_write(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(count, INT_MAX)));
}

int CaptureFile::CloseDescriptor(int fd) { return ::_close(fd); }

}  // namespace portprobe
