#include "session/frame_check.h"

#include <algorithm>

#include "checksum/checksum_rows.h"

namespace portprobe {

bool FrameCheck::CanCheck(ChecksumType row) { return IsBuiltInChecksum(row); }

void FrameCheck::SetRow(std::optional<ChecksumType> row) { row_ = row && CanCheck(*row) ? row : std::nullopt; }

std::string_view FrameCheck::Mark(std::span<const std::uint8_t> block) {
  if (!On() || block.empty()) return {};
  const bool good = IsGood(block);
  ++(good ? good_ : bad_);
  return good ? kGoodMark : kBadMark;
}

bool FrameCheck::IsGood(std::span<const std::uint8_t> block) const { return EndsWithBuiltInChecksum(block, *row_); }

}  // namespace portprobe
