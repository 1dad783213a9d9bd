#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "common/c_file.h"
#include "common/expected.h"

namespace portprobe {

// Why a path that names a FIFO, a device, a folder or a socket is not read.
inline constexpr char kNotRegularFileReason[] = "不是普通文件";
inline constexpr char kMissingFileReason[] = "文件不存在";

inline constexpr std::uint64_t kNoSizeLimit = std::numeric_limits<std::uint64_t>::max();

// A regular file open for reading, with its size when it was opened.
struct RegularFile {
  CFile stream;
  std::uint64_t size = 0;
};

// Opens a file that the user named without ever blocking the caller: the open does not
// wait for a FIFO's writer, and only a regular file is taken, so no read can wait on a
// device or go on for ever. A file of more than maxBytes bytes is refused too.
Expected<RegularFile> OpenRegularFile(const std::string& path, std::uint64_t maxBytes);

// The whole content of a regular file of at most maxBytes bytes (one that grows past
// the limit while it is read is refused as well).
Expected<std::string> ReadRegularFile(const std::string& path, std::uint64_t maxBytes);

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Text files as the user's editor writes them: a UTF-8 byte-order mark at the start is
// no part of the text. ReadTextFile reads the rest; SkipByteOrderMark leaves a file
// just opened at its first byte of text.
Expected<std::string> ReadTextFile(const std::string& path, std::uint64_t maxBytes);
void SkipByteOrderMark(RegularFile& file);

// The reason given for a file over the limit.
std::string TooLargeReason(std::uint64_t maxBytes);

}  // namespace portprobe
