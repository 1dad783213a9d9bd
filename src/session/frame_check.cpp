#include "session/frame_check.h"

#include <algorithm>

#include "checksum/checksum_rows.h"

namespace portprobe {

bool FrameCheck::CanCheck(ChecksumType row) { return IsBuiltInChecksum(row); }

void FrameCheck::SetRow(std::optional<ChecksumType> row) {
  row_ = row && CanCheck(*row) ? row : std::nullopt;
}

std::string_view FrameCheck::Mark(std::span<const std::uint8_t> block) {
  if (!On() || block.empty()) return {};
  const bool good = IsGood(block);
  ++(good ? good_ : bad_);
  return good ? kGoodMark : kBadMark;
}

// The checksum's length is what the row appends to an empty frame; a good block has
// at least one byte before it.
bool FrameCheck::IsGood(std::span<const std::uint8_t> block) const {
  ByteFrame empty;
  AppendBuiltInChecksum(empty, *row_);
  const std::size_t length = empty.size();
  if (block.size() <= length) return false;
  ByteFrame expected(block.begin(), block.end() - static_cast<std::ptrdiff_t>(length));
  AppendBuiltInChecksum(expected, *row_);
  return std::equal(expected.begin(), expected.end(), block.begin(), block.end());
}

}  // namespace portprobe
