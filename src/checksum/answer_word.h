#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace portprobe {

// How much of a checksum program's standard output is read for its answer word.
inline constexpr std::size_t kAnswerOutputLimit = 256;

// The 32-bit answer word E of a checksum program that has ended, from the head of
// its standard output and its exit status (nothing when a signal ended it):
// - the output starts, after any spaces and tabs, with an unsigned number that fits
//   32 bits, decimal or hexadecimal after "0x"/"0X": E is that number, and whatever
//   follows it is ignored;
// - otherwise E is the exit status (0..255, so its top byte is 0: frame unchanged);
// - a program ended by a signal answers 0, whatever it wrote before.
std::uint32_t AnswerWord(std::string_view outputHead, std::optional<std::uint32_t> exitStatus);

}  // namespace portprobe
