#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/tick.h"

namespace portprobe {

// One number of a line or of a decoded block, by the series it belongs to.
struct NamedValue {
  std::string name;  // UTF-8
  double value = 0;
};

// A point of a curve to draw: seconds since the first sample, and the value.
struct CurvePoint {
  double seconds = 0;
  double value = 0;
};

// The samples of every series the device has sent, each series in arrival order, the
// last kMaxSamplesPerSeries of each kept. Time is in seconds since the first sample
// after construction or Clear.
class SampleStore {
 public:
  static constexpr std::size_t kMaxSamplesPerSeries = 1'000'000;
  // More series than a legend can show are noise (binary data read as text): the
  // values of further names are dropped.
  static constexpr std::size_t kMaxSeries = 32;

  // Adds one sample per value, all at `time`. A time no later than the last row's (the
  // same read, or a wall clock set back) counts as a microsecond after it, so every
  // row has a time of its own and every series stays in order.
  void AddRow(WallTime time, std::span<const NamedValue> values);
  void Clear();

  std::size_t SeriesCount() const { return series_.size(); }
  const std::string& SeriesName(std::size_t series) const { return series_[series].name; }
  std::size_t SampleCount(std::size_t series) const { return series_[series].count; }
  // The time of the last sample of any series; 0 while there is none.
  double LastSeconds() const { return lastSeconds_; }
  double FirstSeconds() const;
  // The last sample at or before `seconds`, for a cursor that reads off values.
  std::optional<CurvePoint> ValueAt(std::size_t series, double seconds) const;

  // The curve of one series between `from` and `to` seconds for a plot `columns`
  // pixels wide: the lowest and highest value of each column, or the sample itself
  // where a column holds one. Whole runs of samples that fall in one column are read
  // from their summaries, so a frame costs about the same however much is kept.
  std::vector<CurvePoint> Envelope(std::size_t series, double from, double to, int columns) const;

  // Calls `row(seconds, values)` for every distinct time in order, with one value per
  // series (NaN where the series has no sample at that time): the rows of an export.
  void ForEachRow(const std::function<void(double, std::span<const double>)>& row) const;

 private:
  // Samples are kept in chunks, so the oldest can be dropped a chunk at a time, and
  // each chunk holds the lowest and highest value of every run of samples at two
  // lengths: long runs skip most of a pixel column, short ones most of its edges.
  static constexpr double kRowStepSeconds = 1e-6;
  static constexpr std::size_t kChunkSamples = 4096;
  static constexpr std::array<std::size_t, 2> kRunLengths = {64, 8};
  struct Runs {
    std::vector<double> low, high;
  };
  struct Chunk {
    std::vector<double> seconds;
    std::vector<double> values;
    std::array<Runs, kRunLengths.size()> runs;
  };
  struct Series {
    std::string name;
    std::deque<Chunk> chunks;
    std::size_t count = 0;
  };
  struct Position {
    std::size_t chunk = 0;
    std::size_t index = 0;
  };

  // The series of `name`, made if there is room; none when there is not.
  std::optional<std::size_t> SeriesIndex(const std::string& name);
  static void Append(Series& series, double seconds, double value);
  static Position FirstAtOrAfter(const Series& series, double seconds);

  std::vector<Series> series_;
  std::optional<WallTime> origin_;
  double lastSeconds_ = 0;
};

}  // namespace portprobe
