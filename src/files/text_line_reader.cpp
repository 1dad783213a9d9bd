#include "files/text_line_reader.h"

namespace portprobe {

std::string TextLineReader::ReadTextLine(std::size_t maxCount) {
  std::string line;
  while (!ended_ && line.size() < maxCount) {
    const int c = NextByte();
    if (c == EOF) {
      ended_ = true;
    } else if (c == '\r') {
      continue;
    } else if (c == '\n' && !line.empty()) {
      return line;
    } else {
      line += static_cast<char>(c);
    }
  }
  if (!line.empty()) TakeLineEnd();
  return line;
}

// A line that fills the maximum exactly still owns the line end behind it; left in
// place, that LF would start the next line and change it.
void TextLineReader::TakeLineEnd() {
  int c;
  do {
    c = NextByte();
  } while (c == '\r');
  if (c == EOF) {
    ended_ = true;
  } else if (c != '\n') {
    std::ungetc(c, file_);
    ++budget_;
  }
}

int TextLineReader::NextByte() {
  if (budget_ == 0) return EOF;
  --budget_;
  return std::fgetc(file_);
}

}  // namespace portprobe
