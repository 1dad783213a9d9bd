#include "session/receive_path.h"

#include <algorithm>
#include <filesystem>

#include "files/capture_file.h"

namespace portprobe {

void ReceivePath::FillBacklog(std::deque<SerialEvent> events) {
  for (SerialEvent& event : events) backlog_.push_back(std::move(event));
}

std::vector<SerialEvent> ReceivePath::TakeSlice(std::size_t bytes) {
  std::vector<SerialEvent> slice;
  std::size_t sliceBytes = 0;
  while (!backlog_.empty() && sliceBytes < bytes) {
    sliceBytes += backlog_.front().bytes.size();
    slice.push_back(std::move(backlog_.front()));
    backlog_.pop_front();
  }
  return slice;
}

// What was drained at once is shown with as few appends as the blocks that end among
// it allow.
std::optional<ReceivePath::CaptureFailure> ReceivePath::Receive(std::span<const SerialEvent> batches,
                                                                std::uint32_t connection, ReceiveDisplay display,
                                                                bool boxHasText, const ShowPiece& show) {
  if (batches.empty()) return std::nullopt;
  std::string text;
  for (const SerialEvent& batch : batches) {
    rxCount_ += static_cast<std::int64_t>(batch.bytes.size());
    if (batch.connection == connection) {
      ReceiveBatch(batch, display, boxHasText, text, show);
    } else {
      formatter_.Format(batch.bytes, false, batch.time, display, boxHasText || !text.empty(), text);
    }
  }
  if (!text.empty()) show(text, nullptr);
  return Capture(batches);
}

// A block that a batch ends, by its pause or by filling it, is handed on where it ends
// in the text: the batch is formatted in parts at the block's limit. Each block is
// handed on before the bytes after it are added, so that a send it causes ends no
// block whose bytes were not shown.
void ReceivePath::ReceiveBatch(const SerialEvent& batch, ReceiveDisplay display, bool& boxHasText, std::string& text,
                               const ShowPiece& show) {
  const auto handOn = [&](std::optional<EndedBlock> ended) {
    if (!ended) return;
    show(text, &*ended);
    boxHasText = boxHasText || !text.empty() || !ended->mark.empty();
    text.clear();
  };
  std::span<const std::uint8_t> bytes = batch.bytes;
  while (!bytes.empty()) {
    const bool begins = blocks_.BeginsBlock(batch.tick);
    if (begins) {
      handOn(EndBlock());
      blockShownAsHex_ = display == ReceiveDisplay::Hex;
    }
    if (display != ReceiveDisplay::Hex) blockShownAsHex_ = false;
    const std::span<const std::uint8_t> part = bytes.first(std::min(bytes.size(), blocks_.Room()));
    formatter_.Format(part, begins, batch.time, display, boxHasText || !text.empty(), text);
    std::vector<ReceivedBlock> full = blocks_.Add(part, batch.tick, batch.time);
    bytes = bytes.subspan(part.size());
    for (ReceivedBlock& block : full) handOn(Ended(std::move(block)));
  }
}

std::optional<ReceivePath::EndedBlock> ReceivePath::Ended(std::optional<ReceivedBlock> block) {
  if (!block) return std::nullopt;
  EndedBlock ended{std::move(*block), {}};
  if (blockShownAsHex_) ended.mark = check_.Mark(ended.block.bytes);
  blockShownAsHex_ = false;
  return ended;
}

std::string ReceivePath::Echo(std::span<const std::uint8_t> bytes, WallTime time, ReceiveDisplay display) {
  std::string text;
  formatter_.FormatEcho(bytes, time, display, text);
  return text;
}

void ReceivePath::ApplyPreferences(const Preferences& preferences) {
  formatter_.SetTimestamps(preferences.timestamps);
  formatter_.SetEncoding(preferences.encoding);
  blocks_.SetGap(
      std::clamp(preferences.frameGapMilliseconds, Preferences::kMinFrameGap, Preferences::kMaxFrameGap));
}

// One open and close for everything drained at once. A file that cannot be written
// switches capture off, instead of failing again for every batch.
std::optional<ReceivePath::CaptureFailure> ReceivePath::Capture(std::span<const SerialEvent> batches) {
  if (capturePath_.empty()) return std::nullopt;
  CaptureFile file(capturePath_, CaptureFile::Mode::Append);
  for (const SerialEvent& batch : batches) file.Write(batch.bytes);
  std::string reason = file.Close();
  if (reason.empty()) return std::nullopt;
  CaptureFailure failure{capturePath_, std::move(reason)};
  StopCapture();
  return failure;
}

void ReceivePath::StartCapture() {
  std::error_code ignored;  // an existing folder is the usual case; other failures show at the first write
  std::filesystem::create_directory(DefaultCaptureFolder(), ignored);
  capturePath_ = DefaultCapturePath();
}

Outcome ReceivePath::SaveToCaptureFile(std::string_view text) const {
  CaptureFile file(capturePath_, CaptureFile::Mode::Replace);
  file.Write(text);
  std::string reason = file.Close();
  if (!reason.empty()) return Failure{std::move(reason)};
  return Done{};
}

}  // namespace portprobe
