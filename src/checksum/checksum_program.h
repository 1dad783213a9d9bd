#pragma once

#include <cstdint>
#include <string>

#include "checksum/checksum_program_host.h"
#include "common/byte_frame.h"

namespace portprobe {

// Custom checksum programs
// ------------------------
// Program N (1 to 3) is the executable file self_N in the terminal's own directory
// (self_N.exe on Windows).
//
// On Linux it is started directly, without a shell, with argv = {its path, the frame as
// lower-case hexadecimal digits, two per byte, no separators} ("0aff" for the frame
// 0A FF); an empty frame gives no second argument. Standard input is /dev/null,
// standard error is the terminal's, the current directory is the terminal's, and the
// environment is the terminal's plus PORTPROBE_RESULT_FILE, the path of the result
// file in use (see ResultFile).
//
// How it answers: a Linux exit status has only 8 bits, so the program's 32-bit answer
// word E is the first thing it writes on its standard output: an unsigned number that
// fits 32 bits, in decimal or in hexadecimal after "0x" or "0X", optionally preceded
// by spaces or tabs; anything after the number is ignored, and only the first 256
// bytes of the output are looked at. Without such a number, E is the program's exit
// status (0 to 255, so the frame stays unchanged). A program ended by a signal
// answers E = 0.
//
// On Windows its command line is its path, two spaces and the frame's digits as
// above, unquoted ("D:\tools\self_1.exe  0aff"; an empty frame leaves the two
// spaces alone); it runs with a hidden window, the terminal's handles, current
// directory and environment plus PORTPROBE_RESULT_FILE, and its 32-bit exit code is
// E. Its output is not read.
//
// What the answer does, with T = E >> 24 (the top byte):
//   T = 0         the frame is left unchanged;
//   T = 1, 2, 3   T bytes are appended, least significant first: bits 0-7 of E, then
//                 bits 8-15, then bits 16-23 (echo 0x01000055 appends 55;
//                 echo 0x03123456 appends 56 34 12);
//   T = 4         the frame is replaced by the first 1024 bytes of the result file
//                 (an empty file gives an empty frame); if that file cannot be read,
//                 the frame is left unchanged;
//   T = 5 to 255  the frame is left unchanged.

// Runs checksum program `number` from `directory` over the frame and returns its
// answer word E, through `host` for the wait and for messages. Returns 0 (frame
// unchanged) after a message when the program does not exist or cannot be started,
// and when the host reports that the user stopped it, in which case it is killed.
std::uint32_t RunChecksumProgram(const ByteFrame& frame, int number, ChecksumProgramHost& host,
                                 const std::string& directory, const std::string& resultFile);

}  // namespace portprobe
