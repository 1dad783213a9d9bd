#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "serial/line_settings.h"
#include "serial/rfc2217_client.h"

namespace portprobe {

// The driver side of the open port: a serial port of this machine (SerialDevice, one
// implementation per system) or one on the network (NetworkDevice), with the wake
// object that its worker waits on beside it.
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

  PortDevice() = default;
  virtual ~PortDevice() = default;
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
    // A port on the network:
    BadAddress,  // not HOST:PORT with a port from 1 to 65535
    NoSuchHost,  // the name does not resolve
    Refused,     // nothing listens there
    TimedOut,    // no answer in time
  };
  // Opens the device for this process alone and remembers the settings it has, so
  // that Close gives them back.
  virtual Opening Open(const std::string& path) = 0;
  virtual bool IsOpen() const = 0;
  // Gives the device back: output it cannot get rid of is discarded, its settings are
  // restored and it is open to others again.
  virtual void Close() = 0;

  virtual ApplyResult ApplySettings(const LineSettings& settings) = 0;

  // The object Wake() signals; made once the port is open, before the worker runs.
  virtual bool CreateWake() = 0;
  // From any thread: the worker's wait ends at once.
  virtual void Wake() = 0;
  // Waits until the device can be read (when `read`) or written (when `write`), goes
  // away, or Wake() is called, for at most `timeoutMilliseconds` (-1: no limit).
  // Nothing when the wait itself failed.
  virtual std::optional<Readiness> Wait(bool read, bool write, int timeoutMilliseconds) = 0;
  // What the device has, up to the span's size; 0 when it has nothing after all.
  // Nothing when the device has gone away.
  virtual std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) = 0;
  // What the device takes at once from the front of `bytes`; 0 when it takes nothing
  // now. Nothing when the device has gone away.
  virtual std::optional<std::size_t> Write(std::span<const std::uint8_t> bytes) = 0;

  // Line errors (framing, parity, overrun, break) are read and cleared in one step:
  // true when some arrived since the last call. Errors from before Reset never count.
  virtual void ResetLineErrors() = 0;
  virtual bool TakeLineErrors() = 0;
  // Drops what the driver holds of received bytes, for the worker.
  virtual void FlushInput() = 0;
  // Drops what the driver holds of bytes not yet sent, from any thread.
  virtual void FlushOutput() = 0;

  // The lines the device drives as ModemInput bits; nothing when it has no modem
  // lines (pseudo-terminals) or they cannot be read now.
  virtual std::optional<std::uint32_t> ModemInputs() = 0;
  // RTS and DTR; only these two outputs are touched.
  virtual void SetModemOutputs(bool rts, bool dtr) = 0;
  // Starts or ends a break; false when the driver refused.
  virtual bool SetBreak(bool on) = 0;

  // What a server on the network did not do as asked since the last call, for the
  // worker; a local port has none.
  virtual std::vector<RemoteNotice> TakeNotices() { return {}; }
};

}  // namespace portprobe
