#include "session/auto_send_period.h"

#include <algorithm>
#include <optional>

#include "codec/decimal_text.h"

namespace portprobe {

AutoSendPeriod::Check AutoSendPeriod::Take(std::string_view text) {
  const std::optional<std::uint32_t> period = ParseUnsignedDecimal(text);
  if (!period) return Check::NotANumber;
  milliseconds_ = *period;
  return *period < kMin || *period > kMax ? Check::OutOfRange : Check::Valid;
}

std::uint32_t AutoSendPeriod::TakeForNextTick(std::string_view text) {
  milliseconds_ = static_cast<std::uint32_t>(std::max(LeadingInteger(text), kShortest));
  return milliseconds_;
}

}  // namespace portprobe
