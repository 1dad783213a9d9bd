#include "session/receive_path.h"

#include <algorithm>
#include <filesystem>

#include "files/capture_file.h"

namespace portprobe {

void ReceivePath::FillBacklog(std::deque<SerialEvent> events) {
  for (SerialEvent& event : events) backlog_.push_back(std::move(event));
}

std::vector<SerialEvent> ReceivePath::TakeSlice() {
  std::vector<SerialEvent> slice;
  std::size_t sliceBytes = 0;
  while (!backlog_.empty() && sliceBytes < kSliceBytes) {
    sliceBytes += backlog_.front().bytes.size();
    slice.push_back(std::move(backlog_.front()));
    backlog_.pop_front();
  }
  return slice;
}

// Everything drained at once is formatted into one text; it is the same as batch by
// batch, since block pauses are measured between arrival ticks.
std::string ReceivePath::Receive(std::span<const SerialEvent> batches, ReceiveDisplay display, bool boxHasText,
                                 std::optional<CaptureFailure>& failure) {
  std::string text;
  if (batches.empty()) return text;
  for (const SerialEvent& batch : batches) {
    CheckBatch(batch, display, text);
    formatter_.Format(batch.bytes, batch.tick, batch.time, display, !text.empty() || boxHasText, text);
    rxCount_ += static_cast<std::int64_t>(batch.bytes.size());
  }
  failure = Capture(batches);
  return text;
}

std::string ReceivePath::Echo(std::span<const std::uint8_t> bytes, WallTime time, ReceiveDisplay display) {
  std::string text;
  formatter_.FormatEcho(bytes, time, display, text);
  return text;
}

void ReceivePath::ApplyPreferences(const Preferences& preferences) {
  formatter_.SetTimestamps(preferences.timestamps);
  formatter_.SetEncoding(preferences.encoding);
  formatter_.SetFrameGap(
      std::clamp(preferences.frameGapMilliseconds, Preferences::kMinFrameGap, Preferences::kMaxFrameGap));
}

// A batch after the frame gap ends the block before it, whose mark goes first.
// Blocks exist in hex display only; characters end the check of the block under way.
void ReceivePath::CheckBatch(const SerialEvent& batch, ReceiveDisplay display, std::string& text) {
  if (display != ReceiveDisplay::Hex) {
    check_.Drop();
    return;
  }
  if (formatter_.PausedBefore(batch.tick)) text += check_.Finish();
  check_.Add(batch.bytes);
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
