#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "serial/port_enumeration.h"

namespace portprobe {

// The device the port was last opened on, and what became of it once it went away
// while open: gone, or awaited to be reopened ("自动重连"). The window keeps the timer
// that tries the awaited path and shows what this says.
class Reconnect {
 public:
  enum class Loss { None, Gone, Awaiting, StoppedWaiting };

  // The port was opened on `device`.
  void Opened(SerialPort device) {
    opened_ = std::move(device);
    gone_ = stopped_ = false;
  }
  const SerialPort& OpenedDevice() const { return opened_; }

  // The open device went away; with `autoReconnect` on, it is awaited.
  void WentAway(bool autoReconnect) {
    gone_ = true;
    stopped_ = false;
    failedTries_ = 0;
    if (autoReconnect) awaited_ = opened_;
  }
  // The wait ends unanswered: the user acted on the port or switched "自动重连" off.
  // The loss then says so until the user acts again.
  void StopWaiting() {
    stopped_ = stopped_ || Awaiting();
    awaited_.reset();
  }
  // The user chose a port again: what was lost is forgotten, but for a wait that this
  // ends.
  void PortChosen() {
    stopped_ = Awaiting();
    awaited_.reset();
    gone_ = false;
  }

  Loss State() const {
    if (awaited_) return Loss::Awaiting;
    if (stopped_) return Loss::StoppedWaiting;
    return gone_ ? Loss::Gone : Loss::None;
  }
  bool Awaiting() const { return awaited_.has_value(); }
  // The path to try the awaited device at now; none while nothing is awaited.
  std::optional<std::string> PathToTry() const;
  // Whether the port list's new `port` is the awaited device, perhaps under another name.
  bool IsAwaited(const SerialPort& port) const { return awaited_ && IsSameDevice(*awaited_, port); }

  // What a try to reopen came to. A device that cannot be opened yet may be on its way
  // (its node not yet given to the user's group): the wait goes on, and true is
  // returned. Anything else ends the wait; a port that opened is no longer lost.
  bool KeepWaitingAfter(bool openFailed, bool opened);
  // How long to wait before the next try: a local device's path is cheap to try and
  // tried twice a second; a server on the network is asked ever less often, doubling
  // up to kLongestTryInterval, so that a dead host does not get a connect every turn.
  std::chrono::milliseconds TryInterval() const;

  static constexpr std::chrono::milliseconds kTryInterval{500};
  static constexpr std::chrono::milliseconds kLongestTryInterval{5000};

 private:
  SerialPort opened_;
  std::optional<SerialPort> awaited_;
  // The open device went away and nothing the user did since has replaced it.
  bool gone_ = false;
  // A wait that the user ended, told until the user acts again.
  bool stopped_ = false;
  int failedTries_ = 0;
};

}  // namespace portprobe
