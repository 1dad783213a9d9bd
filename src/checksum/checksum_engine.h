#pragma once

#include <string>

#include "checksum/checksum_program_host.h"
#include "common/byte_frame.h"
#include "common/executable_directory.h"

namespace portprobe {

// The zero-based row of the checksum list (checksum_rows.h holds the rows).
using ChecksumType = int;

inline constexpr ChecksumType kNoChecksum = 0;           // "无校验": the engine is not called
inline constexpr ChecksumType kXorChecksum = 1;          // "XOR"
inline constexpr ChecksumType kCrc16LowFirst = 2;        // "CRC16 Little-endian"
inline constexpr ChecksumType kCrc16HighFirst = 3;       // "CRC16 Big-endian"
inline constexpr ChecksumType kFirstCustomChecksum = 4;  // "自定义1" .. "自定义3": rows 4 to 6

// Extends the frame in place with the checksum of row `type`. A type that is no row
// with a function names a program that does not exist (program type - 3), and so ends
// in the missing-program message with the frame unchanged.
void AppendChecksum(ByteFrame& frame, ChecksumType type, ChecksumProgramHost& host,
                    const std::string& programDirectory = ExecutableDirectory());

// Runs checksum program `programNumber` from `programDirectory` (see checksum_program.h)
// over the frame and applies its answer.
void AppendProgramChecksum(ByteFrame& frame, int programNumber, ChecksumProgramHost& host,
                           const std::string& programDirectory);

}  // namespace portprobe
