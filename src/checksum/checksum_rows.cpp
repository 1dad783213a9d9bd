#include "checksum/checksum_rows.h"

#include <cstdint>

#include "checksum/checksum_engine.h"
#include "checksum/crc16.h"

namespace portprobe {

namespace {

void AppendXor(ByteFrame& frame, const ChecksumCall&) {
  std::uint8_t accumulator = 0;
  for (const std::uint8_t byte : frame) accumulator ^= byte;
  frame.push_back(accumulator);
}

template <bool kLowByteFirst>
void AppendCrc16Xmodem(ByteFrame& frame, const ChecksumCall&) {
  const std::uint16_t crc = ComputeCrc16(frame);
  const auto low = static_cast<std::uint8_t>(crc & 0xFF);
  const auto high = static_cast<std::uint8_t>(crc >> 8);
  frame.push_back(kLowByteFirst ? low : high);
  frame.push_back(kLowByteFirst ? high : low);
}

template <int kProgramNumber>
void AppendProgram(ByteFrame& frame, const ChecksumCall& call) {
  AppendProgramChecksum(frame, kProgramNumber, call.host, call.programDirectory);
}

constexpr ChecksumRow kRows[] = {
    {"无校验", "", nullptr},
    {"XOR", "xor", AppendXor},
    {"CRC16 Little-endian", "crc16le", AppendCrc16Xmodem<true>},
    {"CRC16 Big-endian", "crc16be", AppendCrc16Xmodem<false>},
    {"自定义1", "custom1", AppendProgram<1>},
    {"自定义2", "custom2", AppendProgram<2>},
    {"自定义3", "custom3", AppendProgram<3>},
};

}  // namespace

std::span<const ChecksumRow> ChecksumRows() { return kRows; }

}  // namespace portprobe
