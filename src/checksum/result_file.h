#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "common/byte_frame.h"

namespace portprobe {

// Environment variable that names the result file; the runner also passes the path
// in use to each checksum program under this name.
inline constexpr char kResultFileVariable[] = "PORTPROBE_RESULT_FILE";

// At most this many bytes of the result file replace the frame.
inline constexpr std::size_t kResultFileLimit = 1024;

// Path of the file through which a checksum program may hand back a whole frame:
// $PORTPROBE_RESULT_FILE when set and not empty, else /tmp/self.txt on Linux and
// C:\self.txt on Windows.
std::string ResultFile();

// The first kResultFileLimit bytes of the file at `path`, or nothing when it cannot
// be read. Only a regular file is read, so a FIFO or device left at that path can
// never block the terminal.
std::optional<ByteFrame> ReadResultFile(const std::string& path);

}  // namespace portprobe
