#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "automation/block_decoder.h"
#include "common/byte_frame.h"
#include "common/expected.h"
#include "common/tick.h"

namespace portprobe {

// Decodes received blocks with one script on a thread of its own, so that a slow
// script never holds up the thread that receives. Blocks wait in a bounded queue:
// when the script falls more than kMaxWaitingBlocks behind, the oldest waiting blocks
// are dropped and the next output says how many. The output of each block is queued
// in order with the block's number, so that it can be shown with that block, and the
// owner is woken once whenever that queue stops being empty.
class LiveDecoder {
 public:
  static constexpr std::size_t kMaxWaitingBlocks = 64;

  // What the script printed for one block (with a note of skipped blocks first).
  struct Output {
    std::uint64_t block = 0;
    WallTime blockBegan;
    std::string text;
  };

  // `wake` runs on the decoder's thread; it must only post a wake-up, never block.
  // Whether the thread could be started is told by Started().
  LiveDecoder(std::string scriptText, std::function<void()> wake);
  // Ends the block being decoded at its next line and waits for the thread; output
  // not yet taken is dropped.
  ~LiveDecoder();
  LiveDecoder(const LiveDecoder&) = delete;
  LiveDecoder& operator=(const LiveDecoder&) = delete;

  // Fails when the system gave no thread (too many running); such a decoder decodes
  // nothing and is only to be destroyed.
  const Outcome& Started() const { return started_; }

  // `number` and `began` (when its first bytes came) name the block in its output.
  void Submit(std::span<const std::uint8_t> block, std::uint64_t number, WallTime began = {});
  // The output of the blocks decoded since the last call, in order. Each block's
  // output ends its last line; a block that printed nothing adds nothing.
  std::vector<Output> TakeOutput();

 private:
  void Run();
  // Decodes the next waiting block; false once the decoder is stopping.
  bool DecodeNext(std::unique_lock<std::mutex>& lock);

  BlockDecoder decoder_;
  std::function<void()> wake_;
  std::mutex mutex_;
  std::condition_variable changed_;
  struct Waiting {
    std::uint64_t number;
    WallTime began;
    ByteFrame bytes;
  };
  std::deque<Waiting> blocks_;
  std::size_t skipped_ = 0;
  std::vector<Output> output_;
  bool stopping_ = false;
  bool ended_ = false;
  Outcome started_ = Done{};
  std::thread thread_;
};

}  // namespace portprobe
