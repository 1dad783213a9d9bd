#include "cli/interrupt_catcher.h"

#include <csignal>
#include <initializer_list>

namespace portprobe::cli {

namespace {

void (*gOnInterrupt)(int) = nullptr;

void OnSignal(int signal) { gOnInterrupt(signal); }

}  // namespace

void CatchInterrupt(void (*onInterrupt)(int signal)) {
  gOnInterrupt = onInterrupt;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous {};
    ::sigaction(signal, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace portprobe::cli
