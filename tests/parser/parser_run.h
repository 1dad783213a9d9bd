#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parser/packet_parser.h"

namespace portprobe::parser {

inline constexpr std::string_view kStartBanner = "\r\n---Start Parser--------\r\n";
inline constexpr std::string_view kExitBanner = "\r\n---Exit Parser  unfreeptr=0--------\r\n";

// The lines of a script, each ended by CR LF, so that source line numbers are 1-based.
inline std::string Script(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

inline std::string GlobalCountLine(int count) {
  return "\r\ngi_globalVarCnt:0x" + std::to_string(count) + " " + std::to_string(count) + "\r\n";
}

// Runs scripts on one PacketParser, trace files off, and keeps what they print.
class ParserRunTest : public ::testing::Test {
 protected:
  std::string Run(std::string_view script, std::vector<std::uint8_t> frame = {}) {
    output_.clear();
    parser_.RunParser(script, frame);
    return output_;
  }

  // What a script prints after the global pass, or the whole output when the run does
  // not have the usual frame of banners and global count.
  std::string Printed(std::string_view script, std::vector<std::uint8_t> frame = {}) {
    const std::string all = Run(script, std::move(frame));
    const std::size_t globals = all.find("gi_globalVarCnt:");
    const std::size_t countEnd = all.find("\r\n", globals);
    if (!all.starts_with(kStartBanner) || globals == std::string::npos || !all.ends_with(kExitBanner)) return all;
    return all.substr(countEnd + 2, all.size() - countEnd - 2 - kExitBanner.size());
  }

  // A main function around the lines.
  std::string PrintedByMain(std::initializer_list<std::string_view> lines, std::vector<std::uint8_t> frame = {}) {
    std::string text = Script({"void main()", "{"});
    for (std::string_view line : lines) (text += line) += "\r\n";
    return Printed(text + "}\r\n", std::move(frame));
  }

  std::string output_;
  PacketParser parser_{[this](std::string_view text) { output_ += text; }};
};

}  // namespace portprobe::parser
