#pragma once

#include <string>
#include <string_view>

namespace portprobe {

// Our paths and texts are UTF-8; the wide Windows calls take UTF-16. Windows only.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The system's text for a Windows error code (GetLastError), without the line end.
std::string WindowsErrorText(unsigned long error);

}  // namespace portprobe
