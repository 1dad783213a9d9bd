#include "checksum/exit_code_protocol.h"

#include <optional>
#include <utility>

#include "checksum/result_file.h"

namespace portprobe {

void ExitCodeProtocol(ByteFrame& frame, std::uint32_t answer, const std::string& resultFile) {
  const std::uint32_t instruction = answer >> 24;
  if (instruction >= 1 && instruction <= 3) {
    for (std::uint32_t i = 0; i < instruction; ++i) {
      frame.push_back(static_cast<std::uint8_t>(answer >> (8 * i)));
    }
  } else if (instruction == 4) {
    if (std::optional<ByteFrame> content = ReadResultFile(resultFile)) frame = std::move(*content);
  }
}

}  // namespace portprobe
