#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "checksum/checksum_program_host.h"
#include "common/byte_frame.h"

namespace portprobe {

// What a row's function may need beyond the frame: custom programs report through
// the host and are looked for in the program folder.
struct ChecksumCall {
  ChecksumProgramHost& host;
  const std::string& programDirectory;
};

// One row of the checksum list 1013. Adding a checksum is one row here plus its function.
struct ChecksumRow {
  std::string_view listText;  // as the list shows it
  std::string_view shortText;  // as the closed list shows it, in its narrow box
  std::string_view cliName;   // for portprobe-cli checksum; empty for the "no checksum" row
  // Extends the frame in place; null for the row that appends nothing.
  void (*append)(ByteFrame& frame, const ChecksumCall& call);
};

// Every row, in list order; the row's index is its ChecksumType.
std::span<const ChecksumRow> ChecksumRows();

// The rows that append a checksum without starting a program: all but "无校验" and the
// custom programs, which are too slow for every received block or automatic reply.
bool IsBuiltInChecksum(int row);
// The built-in row with that command-line name, as portprobe-cli checksum --list prints it.
std::optional<int> BuiltInChecksumNamed(std::string_view cliName);
// Appends the checksum of a built-in row; any other row leaves the frame unchanged.
void AppendBuiltInChecksum(ByteFrame& frame, int row);
// How many bytes a built-in row appends.
std::size_t BuiltInChecksumLength(int row);
// The frame's last bytes are the built-in row's checksum of the bytes before them, of
// which there is at least one.
bool EndsWithBuiltInChecksum(std::span<const std::uint8_t> frame, int row);

}  // namespace portprobe
