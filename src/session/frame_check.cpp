#include "session/frame_check.h"

#include <algorithm>

#include "checksum/blocking_program_host.h"
#include "checksum/checksum_rows.h"

namespace portprobe {

namespace {

// Built-in rows never start a program, so the host is never asked anything.
void AppendRowChecksum(ByteFrame& frame, ChecksumType row) {
  BlockingProgramHost host;
  AppendChecksum(frame, row, host);
}

}  // namespace

bool FrameCheck::CanCheck(ChecksumType row) {
  const std::span<const ChecksumRow> rows = ChecksumRows();
  const bool program = row >= kFirstCustomChecksum && row < kFirstCustomChecksum + 3;
  return row >= 0 && static_cast<std::size_t>(row) < rows.size() && rows[row].append != nullptr && !program;
}

void FrameCheck::SetRow(std::optional<ChecksumType> row) {
  row_ = row && CanCheck(*row) ? row : std::nullopt;
  block_.clear();
}

void FrameCheck::Add(std::span<const std::uint8_t> bytes) {
  if (On()) block_.insert(block_.end(), bytes.begin(), bytes.end());
}

std::string_view FrameCheck::Finish() {
  if (block_.empty()) return {};
  const bool good = BlockIsGood();
  block_.clear();
  ++(good ? good_ : bad_);
  return good ? kGoodMark : kBadMark;
}

// The checksum's length is what the row appends to an empty frame; a good block has
// at least one byte before it.
bool FrameCheck::BlockIsGood() const {
  ByteFrame empty;
  AppendRowChecksum(empty, *row_);
  const std::size_t length = empty.size();
  if (block_.size() <= length) return false;
  ByteFrame expected(block_.begin(), block_.end() - static_cast<std::ptrdiff_t>(length));
  AppendRowChecksum(expected, *row_);
  return std::equal(expected.begin(), expected.end(), block_.begin(), block_.end());
}

}  // namespace portprobe
