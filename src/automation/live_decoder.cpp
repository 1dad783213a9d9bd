#include "automation/live_decoder.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>

#include "files/parser_script_file.h"
#include "resources/strings.h"
#include "common/fill_text.h"

namespace portprobe {

namespace {

std::string SkippedText(std::size_t blocks) {
  if (blocks == 0) return {};
  return FillText(resources::kSkippedBlocksNoteText, {std::to_string(blocks)});
}

void EndLastLine(std::string& text) {
  if (!text.empty() && text.back() != '\r' && text.back() != '\n') text += "\r\n";
}

}  // namespace

// The thread starts in the body, once every member it uses is in place.
LiveDecoder::LiveDecoder(std::string scriptText, std::function<void()> wake)
    : decoder_(std::move(scriptText)), wake_(std::move(wake)) {
  try {
    thread_ = std::thread(&LiveDecoder::Run, this);
  } catch (const std::system_error& error) {
    started_ = Failure{resources::kDecoderThreadFailedText + std::string(error.what())};
  }
}

// A run forgets a stop request made before it started, so the request is repeated
// until the thread has seen that it is stopping.
LiveDecoder::~LiveDecoder() {
  if (!thread_.joinable()) return;
  std::unique_lock lock(mutex_);
  stopping_ = true;
  changed_.notify_all();
  while (!ended_) {
    decoder_.RequestStop();
    changed_.wait_for(lock, std::chrono::milliseconds(1));
  }
  lock.unlock();
  thread_.join();
}

// The decoder reads no more of a block than a menu run does, so no more is kept.
void LiveDecoder::Submit(std::span<const std::uint8_t> block, std::uint64_t number, WallTime began) {
  const std::span<const std::uint8_t> read = block.first(std::min(block.size(), kMaxParserFrameBytes));
  std::lock_guard lock(mutex_);
  if (blocks_.size() >= kMaxWaitingBlocks) {
    blocks_.pop_front();
    ++skipped_;
  }
  blocks_.push_back({number, began, ByteFrame(read.begin(), read.end())});
  changed_.notify_all();
}

std::vector<LiveDecoder::Output> LiveDecoder::TakeOutput() {
  std::lock_guard lock(mutex_);
  return std::exchange(output_, {});
}

void LiveDecoder::Run() {
  std::unique_lock lock(mutex_);
  while (DecodeNext(lock)) {
  }
  ended_ = true;
  changed_.notify_all();
}

bool LiveDecoder::DecodeNext(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return stopping_ || !blocks_.empty(); });
  if (stopping_) return false;
  const Waiting block = std::move(blocks_.front());
  blocks_.pop_front();
  std::string text = SkippedText(std::exchange(skipped_, 0));
  lock.unlock();
  std::string decoded = decoder_.Decode(block.bytes);
  EndLastLine(decoded);
  text += decoded;
  lock.lock();
  if (stopping_) return false;
  if (text.empty()) return true;
  const bool wasEmpty = output_.empty();
  output_.push_back({block.number, block.began, std::move(text)});
  if (wasEmpty) {
    lock.unlock();
    wake_();
    lock.lock();
  }
  return true;
}

}  // namespace portprobe
