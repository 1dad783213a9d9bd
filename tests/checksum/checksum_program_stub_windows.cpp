// A checksum program for the tests: its frame's first four bytes are its exit code,
// most significant first (frame 01 00 00 55 exits with 0x01000055), and it writes
// what it was given into the result file: its command line and whether its window is
// hidden. A frame starting EE never ends; one starting ED starts a copy of itself that
// never ends, writes that copy's process id into the result file and never ends either.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& wide) {
  std::string utf8(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                                   nullptr, 0, nullptr, nullptr)),
                   '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

void WriteResult(const std::string& content) {
  wchar_t path[1024];
  if (::GetEnvironmentVariableW(L"PORTPROBE_RESULT_FILE", path, 1024) == 0) return;
  const HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  ::CloseHandle(file);
}

void WriteResultFile(const std::wstring& commandLine) {
  STARTUPINFOW startup{};
  ::GetStartupInfoW(&startup);
  const bool hidden = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 && startup.wShowWindow == SW_HIDE;
  WriteResult(Utf8(commandLine) + (hidden ? "|hidden" : "|shown"));
}

[[noreturn]] void StartEndlessChild() {
  wchar_t self[1024];
  ::GetModuleFileNameW(nullptr, self, 1024);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\"  ee000000";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    WriteResult(std::to_string(started.dwProcessId));
  }
  ::Sleep(INFINITE);
  ::ExitProcess(0);
}

}  // namespace

int main() {
  const std::wstring commandLine = ::GetCommandLineW();
  const std::size_t gap = commandLine.rfind(L"  ");
  const std::wstring digits = gap == std::wstring::npos ? L"" : commandLine.substr(gap + 2, 8);
  if (digits.starts_with(L"ee")) ::Sleep(INFINITE);
  if (digits.starts_with(L"ed")) StartEndlessChild();
  WriteResultFile(commandLine);
  ::ExitProcess(digits.size() == 8 ? static_cast<UINT>(std::stoul(digits, nullptr, 16)) : 0);
}
