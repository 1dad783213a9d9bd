#pragma once

#include <cstdint>
#include <string_view>

namespace portprobe {

// The period of automatic sending, as typed into its edit.
class AutoSendPeriod {
 public:
  static constexpr std::uint32_t kMin = 10;
  static constexpr std::uint32_t kMax = 10000000;
  enum class Check { Valid, NotANumber, OutOfRange };

  // Takes the edit's text as the period. A number out of range is still taken, as it
  // always was, but reported.
  Check Take(std::string_view text);
  // The period for the next tick: the text's leading number, at least kShortest milliseconds, so
  // that a period typed as 0, as no number or negative never spins the window.
  std::uint32_t TakeForNextTick(std::string_view text);
  std::uint32_t Milliseconds() const { return milliseconds_; }

 private:
  static constexpr std::int32_t kShortest = 10;

  std::uint32_t milliseconds_ = 1000;
};

}  // namespace portprobe
