// Runs arbitrary scripts over arbitrary frames. The first input byte is the frame's
// length, the frame's bytes follow, the rest is the script. One interpreter serves every
// input, as the terminal keeps one: each run must release all it allocated and end with
// the exit banner. Only the output's tail is kept: a script may print a lot.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "parser/packet_parser.h"

namespace {

constexpr std::uint64_t kStepLimit = 20000;
constexpr std::string_view kExitBannerEnd = "unfreeptr=0--------\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::string tail;
  static portprobe::parser::PacketParser parser([](std::string_view text) {
    tail += text.substr(text.size() - std::min(text.size(), kExitBannerEnd.size()));
    tail.erase(0, tail.size() - std::min(tail.size(), kExitBannerEnd.size()));
  });
  parser.SetStepLimit(kStepLimit);
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t frameLength = 0;
  if (!input.empty()) {
    frameLength = std::min<std::size_t>(static_cast<unsigned char>(input.front()), input.size() - 1);
    input.remove_prefix(1);
  }
  const auto* frame = reinterpret_cast<const std::uint8_t*>(input.data());
  tail.clear();
  parser.RunParser(input.substr(frameLength), std::span<const std::uint8_t>(frame, frameLength));
  if (parser.AllocationCount() != 0 || tail != kExitBannerEnd) std::abort();
  return 0;
}
