#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <span>

#include "common/byte_frame.h"
#include "sim/sim_options.h"

namespace portprobe::sim {

using Clock = std::chrono::steady_clock;

// How the simulated device behaves. The loop hands a role what the terminal sent and
// calls Tick when the role's time has come; both add what the device sends to `out`.
class Role {
 public:
  virtual ~Role() = default;
  virtual void Receive(std::span<const std::uint8_t> bytes, Clock::time_point now, ByteFrame& out) = 0;
  // When the role next wants to send on its own; none: only in answer to Receive.
  virtual std::optional<Clock::time_point> NextTick() const { return std::nullopt; }
  virtual void Tick(Clock::time_point /*now*/, ByteFrame& /*out*/) {}
  // The terminal closed the device: a frame not yet answered is dropped, as a device
  // drops what a master that went away asked.
  virtual void Forget() {}
};

std::unique_ptr<Role> MakeRole(const SimOptions& options);

// The frame followed by its CRC, low byte first.
ByteFrame WithCrc(ByteFrame frame, SimCrc crc);

}  // namespace portprobe::sim
