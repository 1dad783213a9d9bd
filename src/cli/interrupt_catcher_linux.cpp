#include "cli/interrupt_catcher.h"

#include <csignal>

namespace portprobe::cli {

namespace {

void (*gOnInterrupt)() = nullptr;

void OnSignal(int) { gOnInterrupt(); }

}  // namespace

void CatchInterrupt(void (*onInterrupt)()) {
  struct sigaction previous {};
  ::sigaction(SIGINT, nullptr, &previous);
  if (previous.sa_handler == SIG_IGN) return;
  gOnInterrupt = onInterrupt;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace portprobe::cli
