#include "checksum/checksum_rows.h"

#include <algorithm>
#include <cstdint>

#include "checksum/blocking_program_host.h"
#include "checksum/checksum_engine.h"
#include "checksum/crc.h"

namespace portprobe {

namespace {

void AppendXor(ByteFrame& frame, const ChecksumCall&) {
  std::uint8_t accumulator = 0;
  for (const std::uint8_t byte : frame) accumulator ^= byte;
  frame.push_back(accumulator);
}

std::uint8_t Sum(const ByteFrame& frame) {
  std::uint8_t sum = 0;
  for (const std::uint8_t byte : frame) sum = static_cast<std::uint8_t>(sum + byte);
  return sum;
}

void AppendSum8(ByteFrame& frame, const ChecksumCall&) { frame.push_back(Sum(frame)); }

// Modbus ASCII's LRC: the frame plus its LRC sums to zero.
void AppendLrc(ByteFrame& frame, const ChecksumCall&) { frame.push_back(static_cast<std::uint8_t>(-Sum(frame))); }

enum class ByteOrder { kLowFirst, kHighFirst };

template <const Crc& kCrc, ByteOrder kOrder>
void AppendCrc(ByteFrame& frame, const ChecksumCall&) {
  const std::uint32_t crc = kCrc.Compute(frame);
  const int byteCount = kCrc.Model().width / 8;
  for (int i = 0; i < byteCount; ++i) {
    const int shift = 8 * (kOrder == ByteOrder::kLowFirst ? i : byteCount - 1 - i);
    frame.push_back(static_cast<std::uint8_t>(crc >> shift));
  }
}

constexpr ByteOrder kLow = ByteOrder::kLowFirst;
constexpr ByteOrder kHigh = ByteOrder::kHighFirst;

template <int kProgramNumber>
void AppendProgram(ByteFrame& frame, const ChecksumCall& call) {
  AppendProgramChecksum(frame, kProgramNumber, call.host, call.programDirectory);
}

constexpr ChecksumRow kRows[] = {
    {"无校验", "无校验", "", nullptr},
    {"XOR", "XOR", "xor", AppendXor},
    {"CRC16 Little-endian", "CRC16 LE", "crc16le", AppendCrc<kCrc16Xmodem, kLow>},
    {"CRC16 Big-endian", "CRC16 BE", "crc16be", AppendCrc<kCrc16Xmodem, kHigh>},
    {"自定义1", "自定义1", "custom1", AppendProgram<1>},
    {"自定义2", "自定义2", "custom2", AppendProgram<2>},
    {"自定义3", "自定义3", "custom3", AppendProgram<3>},
    {"CRC16 Modbus", "Modbus", "crc16-modbus", AppendCrc<kCrc16Modbus, kLow>},
    {"CRC16 CCITT-FALSE", "CCITT-F", "crc16-ccitt-false", AppendCrc<kCrc16CcittFalse, kHigh>},
    {"CRC16 Kermit", "Kermit", "crc16-kermit", AppendCrc<kCrc16Kermit, kLow>},
    {"CRC8", "CRC8", "crc8", AppendCrc<kCrc8, kLow>},
    {"CRC8 Maxim", "Maxim", "crc8-maxim", AppendCrc<kCrc8Maxim, kLow>},
    {"CRC32", "CRC32", "crc32", AppendCrc<kCrc32, kLow>},
    {"SUM8", "SUM8", "sum8", AppendSum8},
    {"LRC", "LRC", "lrc", AppendLrc},
};

}  // namespace

std::span<const ChecksumRow> ChecksumRows() { return kRows; }

bool IsBuiltInChecksum(int row) {
  const bool program = row >= kFirstCustomChecksum && row < kFirstCustomChecksum + 3;
  return row >= 0 && static_cast<std::size_t>(row) < std::size(kRows) && kRows[row].append != nullptr && !program;
}

std::optional<int> BuiltInChecksumNamed(std::string_view cliName) {
  for (int row = 0; row < static_cast<int>(std::size(kRows)); ++row) {
    if (IsBuiltInChecksum(row) && kRows[row].cliName == cliName) return row;
  }
  return std::nullopt;
}

// Built-in rows never start a program, so the host is never asked anything.
void AppendBuiltInChecksum(ByteFrame& frame, int row) {
  if (!IsBuiltInChecksum(row)) return;
  BlockingProgramHost host;
  const std::string noPrograms;
  kRows[row].append(frame, ChecksumCall{host, noPrograms});
}

// What the row appends to an empty frame: every built-in checksum has a fixed length.
std::size_t BuiltInChecksumLength(int row) {
  ByteFrame empty;
  AppendBuiltInChecksum(empty, row);
  return empty.size();
}

bool EndsWithBuiltInChecksum(std::span<const std::uint8_t> frame, int row) {
  const std::size_t length = BuiltInChecksumLength(row);
  if (!IsBuiltInChecksum(row) || frame.size() <= length) return false;
  ByteFrame expected(frame.begin(), frame.end() - static_cast<std::ptrdiff_t>(length));
  AppendBuiltInChecksum(expected, row);
  return std::equal(expected.begin(), expected.end(), frame.begin(), frame.end());
}

}  // namespace portprobe
