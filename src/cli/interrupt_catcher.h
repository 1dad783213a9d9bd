#pragma once

namespace portprobe::cli {

// Calls `onInterrupt` with the signal's number at every request to stop from now on,
// instead of ending the process: Ctrl-C (SIGINT) on both systems, and SIGTERM and
// SIGHUP on Linux. A process started with one of them ignored (a background job of a
// script, a program started in a new process group on Windows) keeps ignoring it.
// `onInterrupt` must do no more than a signal handler may: on Linux it runs inside one,
// on Windows on a thread of the system's.
void CatchInterrupt(void (*onInterrupt)(int signal));

}  // namespace portprobe::cli
