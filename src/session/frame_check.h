#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "checksum/checksum_engine.h"

namespace portprobe {

// Checks received blocks against a row of the checksum list: a block is good when
// its last bytes are that row's checksum of the bytes before them.
class FrameCheck {
 public:
  static constexpr std::string_view kGoodMark = "\xE2\x9C\x93";  // ✓
  static constexpr std::string_view kBadMark = "\xE2\x9C\x97";   // ✗

  // Built-in checksums only: "无校验" has nothing to check and a custom program
  // would be started for every block.
  static bool CanCheck(ChecksumType row);

  // Checks with `row` from the next block on; none switches the check off.
  void SetRow(std::optional<ChecksumType> row);
  bool On() const { return row_.has_value(); }

  // The mark of an ended block, counted; empty while the check is off.
  std::string_view Mark(std::span<const std::uint8_t> block);

  std::int64_t GoodCount() const { return good_; }
  std::int64_t BadCount() const { return bad_; }
  void ResetCounters() { good_ = bad_ = 0; }

 private:
  bool IsGood(std::span<const std::uint8_t> block) const;

  std::optional<ChecksumType> row_;
  std::int64_t good_ = 0;
  std::int64_t bad_ = 0;
};

}  // namespace portprobe
