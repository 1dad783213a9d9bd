#include "common/executable_directory.h"

#include <windows.h>

#include "common/wide_text.h"

namespace portprobe {

std::string ExecutableDirectory() {
  // A path longer than the buffer comes back cut short: try again with a larger one.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  // Up to the last backslash, which itself is left out.
  const std::size_t cut = path.rfind(L'\\');
  return cut == std::wstring::npos ? std::string() : Utf8FromWide(std::wstring_view(path).substr(0, cut));
}

}  // namespace portprobe
