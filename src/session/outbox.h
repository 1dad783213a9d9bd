#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/byte_frame.h"

namespace portprobe {

// A send larger than the room in the link's write queue waits here and is handed on as
// the device takes bytes. It also keeps what became of the send under way, for a send
// that a hang-up cuts short.
class Outbox {
 public:
  // Bytes written count towards the send under way until everything queued has gone
  // out (`linkIdle`: the link's queue is empty too); a send after that counts afresh.
  void BeginSend(bool linkIdle);
  void Add(std::span<const std::uint8_t> bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
  bool Empty() const { return handed_ == bytes_.size(); }
  // The bytes not handed on yet.
  std::span<const std::uint8_t> Pending() const { return std::span(bytes_).subspan(handed_); }
  void Handed(std::size_t count) { handed_ += count; }
  // Forgets the waiting bytes and returns how many were never handed on.
  std::size_t Drop();

  void CountWritten(std::uint64_t count) { writtenThisSend_ += count; }
  std::uint64_t WrittenThisSend() const { return writtenThisSend_; }
  // The device went away or stopped taking bytes during the send.
  void MarkCut() { cut_ = true; }
  // Whether the send was cut short: marked so, or bytes still wait here. Clears the mark.
  bool TakeCut();

 private:
  ByteFrame bytes_;
  std::size_t handed_ = 0;
  std::uint64_t writtenThisSend_ = 0;
  bool cut_ = false;
};

}  // namespace portprobe
