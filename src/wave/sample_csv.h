#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/expected.h"
#include "wave/sample_lines.h"
#include "wave/sample_store.h"

namespace portprobe {

// Samples as CSV: a header `time_s,NAME,...`, then one row per time with the seconds
// and one column per series, empty where a series has no sample then. Numbers are
// written in their shortest exact form, so reading the file gives the same values.
// The columns are the series in the order they first appeared; a series that first
// appears after rows were written adds a column, and the header is written again with
// it, so that a log of a long run can be written as it goes.
class SampleCsvWriter {
 public:
  explicit SampleCsvWriter(std::FILE* file) : file_(file) {}

  void AddRow(double seconds, std::span<const NamedValue> values);
  // The rows of a whole store, with every series in the header from the start.
  void AddStore(const SampleStore& store);
  // Whether everything written so far reached the file; the reason when not.
  Outcome Finish();

 private:
  // The column of `name`, made if there is room (as many as a store has series).
  std::optional<std::size_t> Column(const std::string& name);
  void WriteHeader();
  void WriteRow(double seconds, std::span<const double> cells);

  std::FILE* file_;
  std::vector<std::string> columns_;
  std::size_t columnsInHeader_ = 0;
  std::vector<double> cells_;
};

// A log of the numbers of received text as CSV, written as the lines arrive: the
// command line's counterpart of the waveform view's export. Time is in seconds since
// the first line with numbers.
class SampleCsvLog {
 public:
  SampleCsvLog(std::FILE* file, TextEncoding encoding);
  void Add(std::span<const std::uint8_t> bytes, WallTime time) { lines_.Add(bytes, time); }
  void AddBlock(std::string_view text, WallTime time) { lines_.AddBlock(text, time); }
  Outcome Finish() { return writer_.Finish(); }

 private:
  SampleCsvWriter writer_;
  std::optional<WallTime> origin_;
  SampleLines lines_;
};

// Writes the whole store to the file at `path` (UTF-8).
Outcome WriteSamplesCsv(const SampleStore& store, const std::string& path);

}  // namespace portprobe
