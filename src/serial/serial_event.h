#pragma once

#include <cstdint>

#include "common/byte_frame.h"
#include "common/tick.h"

namespace portprobe {

// What the port's worker hands to the user-interface thread, in order.
struct SerialEvent {
  enum class Kind {
    Batch,      // bytes read from the port, at most 4096, with the tick at which they were read
    LineError,  // the driver counted framing, parity, overrun or break errors; input was discarded
    ReadError,  // a read yielded nothing although the port signalled data
    HangUp,     // the device went away (unplugged, far end closed); the worker has ended and
                // dropped the `count` bytes it had not written yet
    Written,    // `count` queued bytes reached the device
    // The lines the device drives changed; `count` holds their ModemInput bits.
    ModemLines,
    // A server on the network did not do as asked; `count` holds the RemoteNotice.
    RemoteNotice,
  };

  Kind kind = Kind::Batch;
  ByteFrame bytes;
  Tick tick = 0;
  // The connection that read it: events of a port closed since must not act on the next.
  std::uint32_t connection = 0;
  std::uint64_t count = 0;
  // The wall-clock time of the tick, for timestamps.
  WallTime time;
};

}  // namespace portprobe
