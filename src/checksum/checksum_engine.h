#pragma once

#include <string>

#include "checksum/checksum_program_host.h"
#include "common/byte_frame.h"
#include "common/executable_directory.h"

namespace portprobe {

// The zero-based row of the checksum list.
using ChecksumType = int;

inline constexpr ChecksumType kNoChecksum = 0;         // "无校验": the engine is not called
inline constexpr ChecksumType kXorChecksum = 1;        // "XOR"
inline constexpr ChecksumType kCrc16LowFirst = 2;      // "CRC16 Little-endian"
inline constexpr ChecksumType kCrc16HighFirst = 3;     // "CRC16 Big-endian"
inline constexpr ChecksumType kFirstCustomChecksum = 4;  // "自定义1" .. "自定义3": rows 4 to 6

// Extends the frame in place with the checksum of row `type`: one XOR byte, or the
// CRC-16/XMODEM of the frame in either byte order. Every other type runs checksum
// program type - 3 from `programDirectory` (see checksum_program.h) and applies its
// answer; types outside 1..6 name a program that does not exist and so end in the
// missing-program message with the frame unchanged.
void AppendChecksum(ByteFrame& frame, ChecksumType type, ChecksumProgramHost& host,
                    const std::string& programDirectory = ExecutableDirectory());

}  // namespace portprobe
