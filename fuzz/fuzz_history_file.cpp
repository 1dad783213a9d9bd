// History files: any bytes read as a history give entries that are written out and
// read back unchanged; parser lists of any bytes never fill more than eight slots.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/c_file.h"
#include "scratch_folder.h"
#include "files/history_file.h"
#include "files/parser_slots.h"

namespace {

void Write(const std::string& path, const std::uint8_t* data, std::size_t size) {
  portprobe::CFile file = portprobe::OpenCFile(path, "wb");
  if (!file || std::fwrite(data, 1, size, file.get()) != size) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = ScratchPath("input.txt");
  Write(input, data, size);
  const auto content = portprobe::ReadHistoryFile(input);
  if (!content) std::abort();
  const std::vector<std::string>* entries = &content->entries;
  for (const std::string& entry : *entries) {
    if (entry.empty() || entry.size() > portprobe::kMaxHistoryEntry || entry.find('\r') != std::string::npos) {
      std::abort();
    }
  }
  const std::string output = ScratchPath("output.txt");
  if (!portprobe::WriteHistoryFile(output, *entries)) std::abort();
  const auto again = portprobe::ReadHistoryFile(output);
  if (!again || again->entries != *entries) std::abort();

  portprobe::ParserSlots slots;
  slots.RestoreFromList(input);
  if (slots.ParserCount() < 0 || slots.ParserCount() > portprobe::ParserSlots::kCapacity) std::abort();
  return 0;
}
