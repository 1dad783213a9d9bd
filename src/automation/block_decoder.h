#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "parser/packet_parser.h"

namespace portprobe {

// Runs one packet-parser script over received block after block and gives what it
// prints, without the banners and the count of globals that frame a menu run. A
// script that errs gives its error report, and the next block is decoded afresh. A
// script that runs longer than kStepLimit lines on a block is stopped there; the first
// block that it is stopped on says so, the later ones show only what it printed.
class BlockDecoder {
 public:
  static constexpr std::uint64_t kStepLimit = 200000;

  explicit BlockDecoder(std::string scriptText);

  // The script's output for the block, of whose bytes it reads the first 512 as a
  // menu run does.
  std::string Decode(std::span<const std::uint8_t> block);
  // Ends the block being decoded at its next line; for a decoder that is shut down
  // from another thread.
  void RequestStop() { parser_.RequestStop(); }

 private:
  std::string script_;
  std::string output_;
  parser::PacketParser parser_;
  bool limitReported_ = false;
};

}  // namespace portprobe
