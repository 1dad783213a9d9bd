#pragma once

#include <cstddef>
#include <optional>

#include "common/byte_frame.h"

namespace portprobe {

// The first bytes of the open file `fd`, at most maxBytes, read from its start
// whatever its current offset; nothing on a read error.
std::optional<ByteFrame> ReadFileHead(int fd, std::size_t maxBytes);

}  // namespace portprobe
