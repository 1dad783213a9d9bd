#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_frame.h"
#include "common/running_program.h"

namespace portprobe {

// What checksum programs look like on this system (see checksum_program.h).

// The result file when PORTPROBE_RESULT_FILE does not name one.
extern const char kDefaultResultFile[];

// Program `number` in `directory`.
std::string ChecksumProgramPath(const std::string& directory, int number);

// What the program is told after its path: the frame in lower-case hexadecimal digits.
std::vector<std::string> ChecksumProgramArguments(const ByteFrame& frame);

// The answer word of a program that has ended by itself or was killed.
std::uint32_t ChecksumProgramAnswer(const RunningProgram& program);

}  // namespace portprobe
