#include "send/text_line_reader.h"

namespace portprobe {

std::string TextLineReader::ReadTextLine(std::size_t maxCount) {
  std::string line;
  while (!ended_ && line.size() < maxCount) {
    const int c = std::fgetc(file_);
    if (c == EOF) {
      ended_ = true;
    } else if (c == '\r') {
      continue;
    } else if (c == '\n' && !line.empty()) {
      break;
    } else {
      line += static_cast<char>(c);
    }
  }
  return line;
}

}  // namespace portprobe
