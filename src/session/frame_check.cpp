#include "session/frame_check.h"

#include <algorithm>

#include "checksum/checksum_rows.h"

namespace portprobe {

bool FrameCheck::CanCheck(ChecksumType row) { return IsBuiltInChecksum(row); }

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
  AppendBuiltInChecksum(empty, *row_);
  const std::size_t length = empty.size();
  if (block_.size() <= length) return false;
  ByteFrame expected(block_.begin(), block_.end() - static_cast<std::ptrdiff_t>(length));
  AppendBuiltInChecksum(expected, *row_);
  return std::equal(expected.begin(), expected.end(), block_.begin(), block_.end());
}

}  // namespace portprobe
