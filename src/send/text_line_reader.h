#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace portprobe {

// Reads the lines of a history or parser-list file. CRs are dropped wherever they
// stand; an LF ends a line only once the line holds a byte, so a blank line joins the
// next one (which then starts with that LF); a line longer than the maximum is split,
// and one exactly as long as the maximum keeps its own line end.
class TextLineReader {
 public:
  explicit TextLineReader(std::FILE* file) : file_(file) {}

  // The next line, at most maxCount bytes; empty once the file has ended.
  std::string ReadTextLine(std::size_t maxCount);

 private:
  void TakeLineEnd();

  std::FILE* file_;
  bool ended_ = false;
};

}  // namespace portprobe
