#include <windows.h>

#include <algorithm>
#include <string_view>

#include "common/running_program.h"
#include "common/wide_text.h"

namespace portprobe {

namespace {

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> environment;
  wchar_t* block = ::GetEnvironmentStringsW();
  if (block == nullptr) return environment;
  for (const wchar_t* entry = block; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
    environment.push_back(Utf8FromWide(entry));
  }
  ::FreeEnvironmentStringsW(block);
  return environment;
}

// A variable's name; the entries for the current folder of each drive ("=C:=C:\\x")
// start with '=', which belongs to their name.
std::wstring_view VariableName(std::wstring_view entry) { return entry.substr(0, entry.find(L'=', 1)); }

// The environment block of CreateProcessW: the entries sorted by name without regard
// to case, as Windows keeps them, each ending with a null, the block with another.
std::wstring EnvironmentBlock(const std::vector<std::string>& environment) {
  std::vector<std::wstring> entries;
  for (const std::string& entry : environment) entries.push_back(WideFromUtf8(entry));
  std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
    const std::wstring_view nameA = VariableName(a);
    const std::wstring_view nameB = VariableName(b);
    return ::CompareStringOrdinal(nameA.data(), static_cast<int>(nameA.size()), nameB.data(),
                                  static_cast<int>(nameB.size()), TRUE) == CSTR_LESS_THAN;
  });
  std::wstring block;
  for (const std::wstring& entry : entries) {
    block += entry;
    block += L'\0';
  }
  block += L'\0';
  return block;
}

}  // namespace

struct RunningProgram::Process {
  ~Process() {
    if (handle != nullptr) ::CloseHandle(handle);
    if (job != nullptr) ::CloseHandle(job);
  }

  // Takes the exit code of a program that has just ended.
  void Ended() {
    DWORD code = 0;
    if (::GetExitCodeProcess(handle, &code)) exitCode = code;
    ended = true;
  }

  HANDLE handle = nullptr;
  // The job that holds the program and whatever it starts, so that Kill ends them all
  // as the process group does on Linux; none when the system would not make one.
  HANDLE job = nullptr;
  DWORD id = 0;
  std::string startFailure;
  bool ended = false;
  std::optional<std::uint32_t> exitCode;
};

RunningProgram::RunningProgram(const std::string& path, const std::vector<std::string>& arguments,
                               const std::vector<std::string>& addedEnvironment)
    : process_(std::make_unique<Process>()) {
  // Quoted, so that a program in a folder with blanks reads its path as its first
  // argument; a Windows path holds no quote of its own.
  std::wstring commandLine = L"\"" + WideFromUtf8(path) + L"\"";
  for (const std::string& argument : arguments) commandLine += WideFromUtf8(argument);
  std::wstring environment;
  if (!addedEnvironment.empty()) {
    environment = EnvironmentBlock(EnvironmentWith(CurrentEnvironment(), addedEnvironment, NameCase::Ignored));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  // The path is also given as the program to start, so that a path with blanks can
  // never start a different program named by its first words.
  // Started suspended, so that it is in the job before it can start anything.
  if (!::CreateProcessW(WideFromUtf8(path).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                        NORMAL_PRIORITY_CLASS | CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED,
                        environment.empty() ? nullptr : environment.data(), nullptr, &startup, &started)) {
    process_->startFailure = WindowsErrorText(::GetLastError());
    process_->ended = true;
    return;
  }
  process_->job = ::CreateJobObjectW(nullptr, nullptr);
  if (process_->job != nullptr && !::AssignProcessToJobObject(process_->job, started.hProcess)) {
    ::CloseHandle(process_->job);
    process_->job = nullptr;
  }
  ::ResumeThread(started.hThread);
  ::CloseHandle(started.hThread);
  process_->handle = started.hProcess;
  process_->id = started.dwProcessId;
}

RunningProgram::~RunningProgram() { Kill(); }

const std::string& RunningProgram::StartFailure() const { return process_->startFailure; }

std::int64_t RunningProgram::ProcessId() const { return process_->id; }

bool RunningProgram::HasEnded() {
  if (!process_->ended && ::WaitForSingleObject(process_->handle, 0) == WAIT_OBJECT_0) process_->Ended();
  return process_->ended;
}

void RunningProgram::Wait() {
  if (process_->ended) return;
  ::WaitForSingleObject(process_->handle, INFINITE);
  process_->Ended();
}

// A killed program gives no exit code, as one ended by a signal on Linux.
void RunningProgram::Kill() {
  if (process_->ended) return;
  if (process_->job == nullptr || !::TerminateJobObject(process_->job, 1)) ::TerminateProcess(process_->handle, 1);
  ::WaitForSingleObject(process_->handle, INFINITE);
  process_->ended = true;
}

std::optional<std::uint32_t> RunningProgram::ExitStatus() const { return process_->exitCode; }

std::string RunningProgram::OutputHead(std::size_t) const { return {}; }

}  // namespace portprobe
