#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace portprobe {

// A filesystem path from our UTF-8 text. A plain std::string would be read in the
// ANSI code page on Windows, which cannot hold every name.
inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace portprobe
