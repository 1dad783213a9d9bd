#include "common/regular_file.h"

#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/utf8_path.h"

namespace portprobe {

namespace {

// The size of what `stream` opened, when that is a file on a disk (not a device such
// as NUL or COM1, not a folder).
std::optional<std::uint64_t> DiskFileSize(std::FILE* stream) {
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  BY_HANDLE_FILE_INFORMATION information{};
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return std::uint64_t{information.nFileSizeHigh} << 32 | information.nFileSizeLow;
}

}  // namespace

Expected<RegularFile> OpenRegularFile(const std::string& path, std::uint64_t maxBytes) {
  // What is no regular file is not even opened: opening a serial port resets some boards.
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(path), error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return Failure{kNotRegularFileReason};
  }
  CFile stream = OpenCFile(path, "rb");
  if (!stream) return Failure{errno == ENOENT ? kMissingFileReason : std::strerror(errno)};
  // Checked again on what was opened, in case the path was replaced meanwhile.
  const std::optional<std::uint64_t> size = DiskFileSize(stream.get());
  if (!size) return Failure{kNotRegularFileReason};
  if (*size > maxBytes) return Failure{TooLargeReason(maxBytes)};
  return RegularFile{std::move(stream), *size};
}

}  // namespace portprobe
