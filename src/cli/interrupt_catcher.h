#pragma once

namespace portprobe::cli {

// Calls `onInterrupt` at every Ctrl-C from now on, instead of ending the process. A
// process started with Ctrl-C ignored (a background job of a script, a program started
// in a new process group on Windows) keeps ignoring it. `onInterrupt` must do no more
// than a signal handler may: on Linux it runs inside one, on Windows on a thread of the
// system's.
void CatchInterrupt(void (*onInterrupt)());

}  // namespace portprobe::cli
