#include "common/state_directory.h"

#include <cstdlib>
#include <filesystem>

#include "common/wide_text.h"

namespace portprobe {

namespace {

// The value of an environment variable that holds an absolute path, else nothing.
std::wstring AbsolutePathVariable(const wchar_t* name) {
  const wchar_t* value = ::_wgetenv(name);
  if (value == nullptr || !std::filesystem::path(value).is_absolute()) return {};
  return value;
}

}  // namespace

std::string StateDirectory() {
  // A relative value would point into the working directory.
  std::wstring base = AbsolutePathVariable(L"LOCALAPPDATA");
  if (base.empty()) {
    const std::wstring profile = AbsolutePathVariable(L"USERPROFILE");
    std::error_code error;
    base = profile.empty() ? std::filesystem::temp_directory_path(error).wstring() : profile + L"\\AppData\\Local";
  }
  while (base.size() > 3 && (base.back() == L'\\' || base.back() == L'/')) base.pop_back();
  return Utf8FromWide(base) + "\\portprobe";
}

}  // namespace portprobe
