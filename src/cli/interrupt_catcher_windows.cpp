#include "cli/interrupt_catcher.h"

#include <windows.h>

#include <csignal>

namespace portprobe::cli {

namespace {

void (*gOnInterrupt)(int) = nullptr;

// Ctrl-Break and closing the console still end the process, as SIGTERM does on Linux.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT) return FALSE;
  gOnInterrupt(SIGINT);
  return TRUE;
}

}  // namespace

// Windows does not call the handler for Ctrl-C in a process that was started with it
// ignored, so nothing needs checking here.
void CatchInterrupt(void (*onInterrupt)(int signal)) {
  gOnInterrupt = onInterrupt;
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

}  // namespace portprobe::cli
