#include "cli/program_start.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "common/wide_text.h"

namespace portprobe::cli {

namespace {

// The arguments after the program's name, from the command line as it was given.
std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  // Without memory for the split, the C runtime's arguments are all there is.
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

UINT gConsoleCodePage = 0;

void RestoreConsoleCodePage() { ::SetConsoleOutputCP(gConsoleCodePage); }

// Our texts are UTF-8; a console left at its code page (936 on a Chinese system) would
// show them garbled. The console is shared with the shell, so its page is given back.
void ShowUtf8OnTheConsole() {
  gConsoleCodePage = ::GetConsoleOutputCP();
  if (gConsoleCodePage == 0 || gConsoleCodePage == CP_UTF8) return;
  if (::SetConsoleOutputCP(CP_UTF8)) std::atexit(RestoreConsoleCodePage);
}

}  // namespace

std::vector<std::string> StartProgram(int argc, char** argv) {
  for (std::FILE* stream : {stdin, stdout, stderr}) {
    // A program started without a console has streams without descriptors.
    if (const int fd = _fileno(stream); fd >= 0) _setmode(fd, _O_BINARY);
  }
  ShowUtf8OnTheConsole();
  return Arguments(argc, argv);
}

}  // namespace portprobe::cli
