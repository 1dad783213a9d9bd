#include "cli/monitor_events.h"

#include <windows.h>

namespace portprobe::cli {

namespace {

// Set by the console's handler, which runs on a thread of the system's at any time
// until the process ends; so this event lives as long as the process.
HANDLE StopEvent() {
  static const HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return stop;
}

// Set once the monitor has closed the port.
HANDLE FinishedEvent() {
  static const HANDLE finished = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return finished;
}

BOOL WINAPI OnConsoleControl(DWORD event) {
  ::SetEvent(StopEvent());
  // Windows ends the process as soon as the handler returns from these, so the handler
  // waits (as long as Windows lets it) until the port is closed and given back.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    ::WaitForSingleObject(FinishedEvent(), INFINITE);
  }
  return TRUE;
}

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

MonitorEvents::MonitorEvents()
    : stop_(reinterpret_cast<std::intptr_t>(StopEvent())),
      wake_(reinterpret_cast<std::intptr_t>(::CreateEventW(nullptr, FALSE, FALSE, nullptr))) {
  ::ResetEvent(FinishedEvent());
  if (StopEvent() != nullptr) {
    ::ResetEvent(StopEvent());
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  }
}

MonitorEvents::~MonitorEvents() {
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  ::SetEvent(FinishedEvent());
  if (wake_ != 0) ::CloseHandle(Handle(wake_));
}

bool MonitorEvents::Ready() const { return wake_ != 0 && stop_ != 0; }

void MonitorEvents::Wake() { ::SetEvent(Handle(wake_)); }

bool MonitorEvents::Wait(int timeoutMilliseconds) {
  const HANDLE events[] = {Handle(stop_), Handle(wake_)};
  const DWORD timeout = timeoutMilliseconds < 0 ? INFINITE : static_cast<DWORD>(timeoutMilliseconds);
  if (::WaitForMultipleObjects(2, events, FALSE, timeout) == WAIT_FAILED) return true;
  return ::WaitForSingleObject(Handle(stop_), 0) == WAIT_OBJECT_0;
}

}  // namespace portprobe::cli
