#pragma once

#include <dlfcn.h>

namespace portprobe::testing {

// The controls of the modem-line shim (modem_shim.c), which CTest preloads into this
// test: the test plays the device's side of the lines through them.
class ModemShim {
 public:
  ModemShim()
      : reset_(Find<void (*)(int)>("modem_shim_reset")),
        setDeviceLines_(Find<void (*)(int)>("modem_shim_set_device_lines")),
        lines_(Find<int (*)()>("modem_shim_lines")),
        breaks_(Find<int (*)(long long*)>("modem_shim_breaks")) {}

  // False when the test runs without the shim preloaded (not through CTest).
  bool Loaded() const { return reset_ && setDeviceLines_ && lines_ && breaks_; }

  // No lines set, no breaks; with `enabled` false pseudo-terminals have no lines again.
  void Reset(bool enabled) const { reset_(enabled ? 1 : 0); }
  // TIOCM_CTS, TIOCM_DSR, TIOCM_RI and TIOCM_CD bits, as the device drives them.
  void SetDeviceLines(int bits) const { setDeviceLines_(bits); }
  // All lines as TIOCM bits, RTS and DTR as the terminal set them.
  int Lines() const { return lines_(); }
  // Breaks begun, and how long the last one lasted in nanoseconds (-1 while it lasts).
  int Breaks(long long* lastNanoseconds) const { return breaks_(lastNanoseconds); }

 private:
  template <typename Function>
  static Function Find(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
  }

  void (*reset_)(int);
  void (*setDeviceLines_)(int);
  int (*lines_)();
  int (*breaks_)(long long*);
};

}  // namespace portprobe::testing
