#include "checksum/checksum_engine.h"

#include <cstdint>

#include "checksum/checksum_program.h"
#include "checksum/checksum_rows.h"
#include "checksum/exit_code_protocol.h"
#include "checksum/result_file.h"

namespace portprobe {

void AppendChecksum(ByteFrame& frame, ChecksumType type, ChecksumProgramHost& host,
                    const std::string& programDirectory) {
  const std::span<const ChecksumRow> rows = ChecksumRows();
  const bool known = type >= 0 && static_cast<std::size_t>(type) < rows.size() && rows[type].append != nullptr;
  if (known) {
    rows[type].append(frame, ChecksumCall{host, programDirectory});
  } else {
    AppendProgramChecksum(frame, type - (kFirstCustomChecksum - 1), host, programDirectory);
  }
}

void AppendProgramChecksum(ByteFrame& frame, int programNumber, ChecksumProgramHost& host,
                           const std::string& programDirectory) {
  // One path for both sides: the program is told where to write, and that file is read.
  const std::string resultFile = ResultFile();
  const std::uint32_t answer = RunChecksumProgram(frame, programNumber, host, programDirectory, resultFile);
  ExitCodeProtocol(frame, answer, resultFile);
}

}  // namespace portprobe
