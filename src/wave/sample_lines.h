#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "codec/text_encoding.h"
#include "common/tick.h"
#include "wave/sample_store.h"

namespace portprobe {

// The numbers of one line of text, in the forms that firmware prints:
// - numbers apart by commas, semicolons, spaces or tabs (`1.5,2.25,-3`), each the
//   series of its place in the line, named "1", "2", ...;
// - name:value or name=value pairs (`temp:21.5 hum:40`), each the series of its name.
// Words that are no finite decimal number (`nan`, `0x1F`, `OK`) give no sample but
// keep their place. `encoding` is the text's, for the names.
std::vector<NamedValue> ParseSampleLine(std::string_view line, TextEncoding encoding);

// Where the numbers of a line go: one row of values at the time the line ended.
using SampleRowSink = std::function<void(WallTime, std::span<const NamedValue>)>;

// Cuts what arrives into lines (LF, CR LF or CR) and hands each line's numbers on as
// one row at the time its end arrived. A line split across reads is joined first.
class SampleLines {
 public:
  // A line this long without an end holds no plottable data: it is dropped, counted
  // as skipped, and reading goes on at the next line end. So is a line with a control
  // byte other than tab: binary data, which is passed over without being parsed.
  static constexpr std::size_t kMaxLineBytes = 4096;

  explicit SampleLines(SampleRowSink sink) : sink_(std::move(sink)) {}
  void SetEncoding(TextEncoding encoding) { encoding_ = encoding; }

  void Add(std::span<const std::uint8_t> bytes, WallTime time);
  // The whole output of a decoded block: the numbers of all its lines make one row.
  void AddBlock(std::string_view text, WallTime time);
  // Lines that held no number, since construction or Reset.
  std::size_t SkippedLines() const { return skipped_; }
  // Forgets a partial line and the count, as "清空" does.
  void Reset();

 private:
  void EndLine(WallTime time);

  SampleRowSink sink_;
  TextEncoding encoding_ = TextEncoding::Utf8;
  std::string line_;
  bool unreadable_ = false;  // too long, or binary
  bool afterCr_ = false;
  std::size_t skipped_ = 0;
};

}  // namespace portprobe
