#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace portprobe {

// The capture folder and file that switching capture on chooses: $HOME/ttyprobe and
// $HOME/ttyprobe/test1.txt on Linux, c:\ttyprobe and c:\ttyprobe\test1.txt on Windows.
std::string DefaultCaptureFolder();
std::string DefaultCapturePath();

// The capture file, open for one operation: either appending received bytes at its end
// (creating it when missing) or replacing its whole content. The first failure is
// kept and ends the writing; Close() reports it.
class CaptureFile {
 public:
  enum class Mode { Append, Replace };

  CaptureFile(const std::string& path, Mode mode);
  ~CaptureFile();
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  void Write(std::span<const std::uint8_t> bytes);
  void Write(std::string_view text);
  // Empty when everything was written and the file closed cleanly, else the
  // system's text for the first failure.
  std::string Close();

 private:
  void Fail();
  // The system's side: open, write some bytes (-1 with errno on a failure), close (0 or
  // -1 with errno). The descriptor is a C runtime one on Windows.
  static int OpenDescriptor(const std::string& path, Mode mode);
  static long WriteSome(int fd, const std::uint8_t* bytes, std::size_t count);
  static int CloseDescriptor(int fd);

  int fd_ = -1;
  int error_ = 0;
};

}  // namespace portprobe
