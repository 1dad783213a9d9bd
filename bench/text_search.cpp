// Search in a full receive box: 32 MiB of the hex layout of random bytes in blocks,
// as the find bar searches it, and the worst cases: a long pattern that nearly matches
// everywhere, in a box of one repeated byte (hex) or letter (text). Each case reports
// its median in milliseconds; a frame is 16.7 ms.
//
//   text_search [Google Benchmark options]
#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "codec/hex_format.h"
#include "codec/text_search.h"
#include "common/line_indexed_text.h"

namespace portprobe {
namespace {

constexpr std::string_view kBlockSeparator = "\r\n    \r\n";
constexpr std::size_t kBlockBytes = 256;
// Seven bytes starting with a common one: random data holds it by chance almost never,
// so it is found only where it was put, near the end.
constexpr std::string_view kPlanted = "01 03 04 00 2A 11 22";
constexpr std::string_view kAbsent = "01 03 04 00 2A 11 23";

// The box filled to its limit; the planted frame is in the last block.
const LineIndexedText& FullBox() {
  static const LineIndexedText box = [] {
    LineIndexedText text;
    std::mt19937 random(17);
    std::vector<std::uint8_t> block(kBlockBytes);
    std::string layout;
    while (text.Size() + 2 * kBlockBytes * 4 < LineIndexedText::kDefaultByteLimit) {
      for (std::uint8_t& byte : block) byte = static_cast<std::uint8_t>(random());
      layout.clear();
      AppendHexLayout(block, 0, layout);
      layout += kBlockSeparator;
      text.Append(layout);
    }
    text.Append(std::string(kPlanted) + " 55 " + std::string(kBlockSeparator));
    return text;
  }();
  return box;
}

TextSearch Hex(std::string_view typed) { return *TextSearch::Make(typed, TextSearch::Kind::Hex, false, true); }

void Run(benchmark::State& state, const TextSearch& search, bool forward, bool expectHit) {
  const std::string_view text = FullBox().All();
  for (auto _ : state) {
    const auto match = forward ? search.Next(text, 0) : search.Previous(text, text.size());
    if (match.has_value() != expectHit) state.SkipWithError("unexpected outcome");
    benchmark::DoNotOptimize(match);
  }
  state.counters["box_MiB"] = static_cast<double>(text.size()) / (1 << 20);
}

void HexForwardHitNearTheEnd(benchmark::State& state) { Run(state, Hex(kPlanted), true, true); }
void HexForwardMiss(benchmark::State& state) { Run(state, Hex(kAbsent), true, false); }
void HexBackwardMiss(benchmark::State& state) { Run(state, Hex(kAbsent), false, false); }
void TextIgnoringCaseMiss(benchmark::State& state) {
  Run(state, *TextSearch::Make("timeout", TextSearch::Kind::Text, false, true), true, false);
}
void TextMatchingCaseMiss(benchmark::State& state) {
  Run(state, *TextSearch::Make("01 03 04 00 2A 11 23", TextSearch::Kind::Text, true, true), true, false);
}

// A box filled to its limit with one line of `unit` repeated.
const LineIndexedText& RepeatedBox(const std::string& unit) {
  static std::map<std::string, LineIndexedText> boxes;
  LineIndexedText& box = boxes[unit];
  if (box.Size() == 0) {
    std::string line;
    while (line.size() + unit.size() <= 4096) line += unit;
    line += "\r\n";
    while (box.Size() + line.size() < LineIndexedText::kDefaultByteLimit) box.Append(line);
  }
  return box;
}

void RunOver(benchmark::State& state, const LineIndexedText& box, const TextSearch& search) {
  const std::string_view text = box.All();
  for (auto _ : state) {
    const auto match = search.Next(text, 0);
    if (match) state.SkipWithError("unexpected match");
    benchmark::DoNotOptimize(match);
  }
  state.counters["box_MiB"] = static_cast<double>(text.size()) / (1 << 20);
}

// 300 × FF and 00 over a box of FF: the search the window once took 46 s for.
void HexNearMatchEverywhere(benchmark::State& state) {
  std::string pattern;
  for (int i = 0; i < 300; ++i) pattern += "FF ";
  RunOver(state, RepeatedBox("FF "), Hex(pattern + "00"));
}
// 3000 × A and B over a box of A, in character display.
void TextNearMatchEverywhere(benchmark::State& state) {
  RunOver(state, RepeatedBox("A"), *TextSearch::Make(std::string(3000, 'A') + "B", TextSearch::Kind::Text, true, false));
}
// The last letter is everywhere too, so nothing lets the search skip: the slowest
// search there is.
void TextNearMatchWithItsLastLetterEverywhere(benchmark::State& state) {
  RunOver(state, RepeatedBox("A"),
          *TextSearch::Make(std::string(1500, 'A') + "B" + std::string(1500, 'A'), TextSearch::Kind::Text, true, false));
}
void HexNearMatchWithItsLastByteEverywhere(benchmark::State& state) {
  std::string half;
  for (int i = 0; i < 150; ++i) half += "FF ";
  RunOver(state, RepeatedBox("FF "), Hex(half + "00 " + half));
}
void TextIgnoringCaseNearMatchEverywhere(benchmark::State& state) {
  RunOver(state, RepeatedBox("A"),
          *TextSearch::Make(std::string(3000, 'a') + "b", TextSearch::Kind::Text, false, false));
}

// What painting costs the marks: the matches of a frequent byte on 40 lines.
void MarksOfOneScreen(benchmark::State& state) {
  const std::string_view text = FullBox().All();
  const TextSearch search = Hex("01");
  const std::size_t from = text.size() / 2;
  for (auto _ : state) benchmark::DoNotOptimize(search.Overlapping(text, from, from + 40 * 52));
}

void Configure(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

BENCHMARK(HexForwardHitNearTheEnd)->Apply(Configure);
BENCHMARK(HexForwardMiss)->Apply(Configure);
BENCHMARK(HexBackwardMiss)->Apply(Configure);
BENCHMARK(TextIgnoringCaseMiss)->Apply(Configure);
BENCHMARK(TextMatchingCaseMiss)->Apply(Configure);
BENCHMARK(HexNearMatchEverywhere)->Apply(Configure);
BENCHMARK(TextNearMatchEverywhere)->Apply(Configure);
BENCHMARK(TextIgnoringCaseNearMatchEverywhere)->Apply(Configure);
BENCHMARK(TextNearMatchWithItsLastLetterEverywhere)->Apply(Configure);
BENCHMARK(HexNearMatchWithItsLastByteEverywhere)->Apply(Configure);
BENCHMARK(MarksOfOneScreen)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace portprobe
