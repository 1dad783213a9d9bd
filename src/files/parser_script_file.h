#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "common/expected.h"

namespace portprobe {

// The largest parser script file that loads.
inline constexpr std::size_t kMaxParserScriptBytes = 1048576;
// A parser runs over at most this many bytes of hex text.
inline constexpr std::size_t kMaxParserFrameBytes = 512;

// The bytes of a parser script file, read whole and unchanged; a Failure when the path
// is not a readable regular file or holds more than kMaxParserScriptBytes bytes.
Expected<std::string> ReadParserScriptFile(const std::filesystem::path& path);

}  // namespace portprobe
