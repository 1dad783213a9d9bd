// Checksum-program answers: any program output and exit status give an answer word,
// and any answer word with any result file leaves a frame within its bounds.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "checksum/answer_word.h"
#include "checksum/exit_code_protocol.h"
#include "checksum/result_file.h"
#include "common/c_file.h"
#include "scratch_folder.h"

// Input: one byte of exit status (255 stands for "ended by a signal"), one byte of frame
// length, then the program's output, which also serves as the result file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::optional<int> status = data[0] == 255 ? std::nullopt : std::optional<int>(data[0]);
  const std::size_t frameLength = data[1];
  const std::string_view output(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::uint32_t answer = portprobe::AnswerWord(output.substr(0, portprobe::kAnswerOutputLimit), status);
  if (!status && answer != 0) std::abort();

  {
    portprobe::CFile file = portprobe::OpenCFile(ScratchPath("self.txt"), "wb");
    std::fwrite(output.data(), 1, output.size(), file.get());
  }
  portprobe::ByteFrame frame(frameLength, 0x5A);
  portprobe::ExitCodeProtocol(frame, answer, ScratchPath("self.txt"));
  const std::uint32_t top = answer >> 24;
  const std::size_t expected = top >= 1 && top <= 3 ? frameLength + top
                               : top == 4           ? std::min(output.size(), portprobe::kResultFileLimit)
                                                    : frameLength;
  if (frame.size() != expected) std::abort();
  return 0;
}
