#include "checksum/checksum_engine.h"

#include <cstdint>

#include "checksum/checksum_program.h"
#include "checksum/crc16.h"
#include "checksum/exit_code_protocol.h"
#include "checksum/result_file.h"

namespace portprobe {

namespace {

std::uint8_t XorOf(const ByteFrame& frame) {
  std::uint8_t accumulator = 0;
  for (const std::uint8_t byte : frame) accumulator ^= byte;
  return accumulator;
}

void AppendCrc16(ByteFrame& frame, bool lowByteFirst) {
  const std::uint16_t crc = ComputeCrc16(frame);
  const auto low = static_cast<std::uint8_t>(crc & 0xFF);
  const auto high = static_cast<std::uint8_t>(crc >> 8);
  frame.push_back(lowByteFirst ? low : high);
  frame.push_back(lowByteFirst ? high : low);
}

void AppendProgramChecksum(ByteFrame& frame, int programNumber, ChecksumProgramHost& host,
                           const std::string& programDirectory) {
  // One path for both sides: the program is told where to write, and that file is read.
  const std::string resultFile = ResultFile();
  const std::uint32_t answer = RunChecksumProgram(frame, programNumber, host, programDirectory, resultFile);
  ExitCodeProtocol(frame, answer, resultFile);
}

}  // namespace

void AppendChecksum(ByteFrame& frame, ChecksumType type, ChecksumProgramHost& host,
                    const std::string& programDirectory) {
  switch (type) {
    case kXorChecksum:
      frame.push_back(XorOf(frame));
      return;
    case kCrc16LowFirst:
      AppendCrc16(frame, true);
      return;
    case kCrc16HighFirst:
      AppendCrc16(frame, false);
      return;
    default:
      AppendProgramChecksum(frame, type - (kFirstCustomChecksum - 1), host, programDirectory);
  }
}

}  // namespace portprobe
