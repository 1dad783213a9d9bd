#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "serial/line_settings.h"

namespace portprobe {

// The driver side of the open serial port, one implementation per system: the
// device's handle and the wake object that its worker waits on beside it.
// SerialLink's worker makes the waits, reads and writes; the owner's thread opens,
// closes, applies settings, wakes the worker, takes line errors and flushes output.
class PortDevice {
 public:
  // What ended a wait. Nothing set: the time ran out (or a signal came).
  struct Readiness {
    bool readable = false;
    bool writable = false;
    bool hungUp = false;  // the device reported that it went away or failed
    bool woken = false;   // Wake() was called; the other fields are then not looked at
  };

  PortDevice();
  ~PortDevice();
  PortDevice(const PortDevice&) = delete;
  PortDevice& operator=(const PortDevice&) = delete;

  // What an open found.
  enum class Opening {
    Opened,
    Missing,        // no such device
    Held,           // another program holds it
    ExclusiveLock,  // marked for one program's use, which may have ended since
    Denied,         // no permission
    NotAPort,       // a folder
    Failed,         // another reason
  };
  // Opens the device for this process alone and remembers the settings it has, so
  // that Close gives them back.
  Opening Open(const std::string& path);
  bool IsOpen() const;
  // Gives the device back: output it cannot get rid of is discarded, its settings are
  // restored and it is open to others again.
  void Close();

  ApplyResult ApplySettings(const LineSettings& settings);

  // The object Wake() signals; made once the port is open, before the worker runs.
  bool CreateWake();
  // From any thread: the worker's wait ends at once.
  void Wake();
  // Waits until the device can be read (when `read`) or written (when `write`), goes
  // away, or Wake() is called, for at most `timeoutMilliseconds` (-1: no limit).
  // Nothing when the wait itself failed.
  std::optional<Readiness> Wait(bool read, bool write, int timeoutMilliseconds);
  // What the device has, up to the span's size; 0 when it has nothing after all.
  // Nothing when the device has gone away.
  std::optional<std::size_t> Read(std::span<std::uint8_t> buffer);
  // What the device takes at once from the front of `bytes`; 0 when it takes nothing
  // now. Nothing when the device has gone away.
  std::optional<std::size_t> Write(std::span<const std::uint8_t> bytes);

  // Line errors (framing, parity, overrun, break) are read and cleared in one step:
  // true when some arrived since the last call. Errors from before Reset never count.
  void ResetLineErrors();
  bool TakeLineErrors();
  // Drops what the driver holds of received bytes, for the worker.
  void FlushInput();
  // Drops what the driver holds of bytes not yet sent, from any thread.
  void FlushOutput();

  // The lines the device drives as ModemInput bits; nothing when it has no modem
  // lines (pseudo-terminals) or they cannot be read now.
  std::optional<std::uint32_t> ModemInputs();
  // RTS and DTR; only these two outputs are touched.
  void SetModemOutputs(bool rts, bool dtr);
  // Starts or ends a break; false when the driver refused.
  bool SetBreak(bool on);

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace portprobe
