#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace portprobe {

class PortDevice;

// The lines a device drives, as bits of the lamps' reading.
enum ModemInput : std::uint32_t {
  kCtsLine = 1u << 0,
  kDsrLine = 1u << 1,
  kRiLine = 1u << 2,
  kDcdLine = 1u << 3,
};

// The modem lines of the open port: RTS and DTR set as asked, a break held for its
// time, and the device's lines read twenty times a second. Requests come from any
// thread; the port's worker makes the driver calls between its waits, so no caller
// waits for a driver (a USB adapter answers each call over the bus).
class ModemLines {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kReadInterval{50};
  static constexpr std::chrono::milliseconds kBreakDuration{250};

  // RTS and DTR as they are to be, from now on and at every open.
  void SetOutputs(bool rts, bool dtr);
  void RequestBreak() { breakRequested_ = true; }

  // At open, before the worker starts: learns whether the device has modem lines at
  // all (pseudo-terminals have none) and sets the outputs.
  void Attach(PortDevice& device);
  bool Supported() const { return supported_; }
  // At close, once the worker has ended: a break under way ends with it.
  void Detach(PortDevice& device);

  // For the worker: makes the calls that are due and returns the device's lines
  // (ModemInput bits) when they differ from those it returned last; after Attach
  // the first reading is always returned.
  std::optional<std::uint32_t> Service(PortDevice& device, Clock::time_point now);
  // How long the worker may wait before Service is due again; -1 for no limit.
  int WaitMilliseconds(Clock::time_point now) const;
  // Bytes written during a break would be lost in it; they wait for its end.
  bool BreakOn() const { return breakEnds_.has_value(); }

 private:
  static constexpr std::uint32_t kRtsOutput = 1, kDtrOutput = 2;

  void ApplyOutputs(PortDevice& device) const;
  void ServiceBreak(PortDevice& device, Clock::time_point now);
  std::optional<std::uint32_t> ReadChangedInputs(PortDevice& device, Clock::time_point now);

  std::atomic<std::uint32_t> outputs_{kRtsOutput | kDtrOutput};
  std::atomic<bool> outputsChanged_{false};
  std::atomic<bool> breakRequested_{false};
  bool supported_ = false;
  // The worker's own while the port is open.
  std::optional<Clock::time_point> breakEnds_;
  std::optional<std::uint32_t> reported_;
  Clock::time_point nextRead_;
};

}  // namespace portprobe
