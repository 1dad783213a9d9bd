#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace portprobe {

// Reads the lines of a history or parser-list file. CRs are dropped wherever they
// stand; an LF ends a line only once the line holds a byte, so a blank line joins the
// next one (which then starts with that LF); a line longer than the maximum is split,
// and one exactly as long as the maximum keeps its own line end.
class TextLineReader {
 public:
  // Reads at most maxBytes bytes of the file, so a file that grows while it is read
  // still ends.
  explicit TextLineReader(std::FILE* file, std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max())
      : file_(file), budget_(maxBytes) {}

  // The next line, at most maxCount bytes; empty once the file has ended.
  std::string ReadTextLine(std::size_t maxCount);

 private:
  void TakeLineEnd();
  int NextByte();

  std::FILE* file_;
  std::uint64_t budget_;
  bool ended_ = false;
};

}  // namespace portprobe
