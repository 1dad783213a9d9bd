#include "cli/error_output.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "common/wide_text.h"

namespace portprobe::cli {

namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

}  // namespace

void WriteError(std::string_view text) {
  const HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  if (!IsConsole(err)) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
    return;
  }
  const std::wstring wide = WideFromUtf8(text);
  std::size_t done = 0;
  while (done < wide.size()) {
    DWORD written = 0;
    if (!::WriteConsoleW(err, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written, nullptr) ||
        written == 0) {
      return;  // nowhere left to say it
    }
    done += written;
  }
}

}  // namespace portprobe::cli
