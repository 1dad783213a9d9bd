#include "wave/sample_store.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace portprobe {

void SampleStore::AddRow(WallTime time, std::span<const NamedValue> values) {
  if (values.empty()) return;
  if (!origin_) origin_ = time;
  const double seconds = std::chrono::duration<double>(time - *origin_).count();
  // Lines that arrived in one read share its time; each row gets a time of its own, a
  // microsecond after the last, so an export never pairs one line's values with another's.
  lastSeconds_ = series_.empty() ? seconds : std::max(lastSeconds_ + kRowStepSeconds, seconds);
  for (const NamedValue& value : values) {
    if (const std::optional<std::size_t> series = SeriesIndex(value.name)) {
      Append(series_[*series], lastSeconds_, value.value);
    }
  }
}

void SampleStore::Clear() {
  series_.clear();
  origin_.reset();
  lastSeconds_ = 0;
}

double SampleStore::FirstSeconds() const {
  double first = lastSeconds_;
  for (const Series& series : series_) {
    if (series.count > 0) first = std::min(first, series.chunks.front().seconds.front());
  }
  return first;
}

std::optional<std::size_t> SampleStore::SeriesIndex(const std::string& name) {
  for (std::size_t i = 0; i < series_.size(); ++i) {
    if (series_[i].name == name) return i;
  }
  if (series_.size() == kMaxSeries) return std::nullopt;
  series_.push_back(Series{name, {}, 0});
  return series_.size() - 1;
}

void SampleStore::Append(Series& series, double seconds, double value) {
  if (series.chunks.empty() || series.chunks.back().seconds.size() == kChunkSamples) {
    series.chunks.emplace_back();
    Chunk& chunk = series.chunks.back();
    chunk.seconds.reserve(kChunkSamples);
    chunk.values.reserve(kChunkSamples);
  }
  Chunk& chunk = series.chunks.back();
  for (std::size_t level = 0; level < kRunLengths.size(); ++level) {
    Runs& runs = chunk.runs[level];
    if (chunk.seconds.size() % kRunLengths[level] == 0) {
      runs.low.push_back(value);
      runs.high.push_back(value);
    }
    runs.low.back() = std::min(runs.low.back(), value);
    runs.high.back() = std::max(runs.high.back(), value);
  }
  chunk.seconds.push_back(seconds);
  chunk.values.push_back(value);
  ++series.count;
  // The oldest chunk goes once the others hold the samples kept.
  if (series.count - series.chunks.front().seconds.size() >= kMaxSamplesPerSeries) {
    series.count -= series.chunks.front().seconds.size();
    series.chunks.pop_front();
  }
}

SampleStore::Position SampleStore::FirstAtOrAfter(const Series& series, double seconds) {
  const auto chunk = std::partition_point(series.chunks.begin(), series.chunks.end(),
                                          [seconds](const Chunk& c) { return c.seconds.back() < seconds; });
  if (chunk == series.chunks.end()) return {series.chunks.size(), 0};
  const auto index = std::lower_bound(chunk->seconds.begin(), chunk->seconds.end(), seconds);
  return {static_cast<std::size_t>(chunk - series.chunks.begin()),
          static_cast<std::size_t>(index - chunk->seconds.begin())};
}

std::optional<CurvePoint> SampleStore::ValueAt(std::size_t series, double seconds) const {
  const Series& s = series_[series];
  Position after = FirstAtOrAfter(s, std::nextafter(seconds, std::numeric_limits<double>::infinity()));
  if (after.index == 0) {
    if (after.chunk == 0) return std::nullopt;
    --after.chunk;
    after.index = s.chunks[after.chunk].seconds.size();
  }
  const Chunk& chunk = s.chunks[after.chunk];
  return CurvePoint{chunk.seconds[after.index - 1], chunk.values[after.index - 1]};
}

namespace {

// The lowest and highest value of one pixel column, each at the time it was read (a
// run's summary: at the run's start), given in the order they came, so a falling
// curve is not drawn rising.
class ColumnCollector {
 public:
  explicit ColumnCollector(std::vector<CurvePoint>& out) : out_(out) {}

  void Add(long column, double seconds, double low, double high) {
    if (column != column_) Flush();
    column_ = column;
    if (empty_ || low < low_.value) low_ = {seconds, low};
    if (empty_ || high > high_.value) high_ = {seconds, high};
    empty_ = false;
  }

  void Flush() {
    if (empty_) return;
    const bool lowFirst = low_.seconds <= high_.seconds;
    out_.push_back(lowFirst ? low_ : high_);
    if (low_.value != high_.value) out_.push_back(lowFirst ? high_ : low_);
    empty_ = true;
  }

 private:
  std::vector<CurvePoint>& out_;
  long column_ = -1;
  bool empty_ = true;
  CurvePoint low_, high_;
};

}  // namespace

std::vector<CurvePoint> SampleStore::Envelope(std::size_t series, double from, double to, int columns) const {
  std::vector<CurvePoint> out;
  const Series& s = series_[series];
  if (columns <= 0 || !(to > from) || s.count == 0) return out;
  const double width = (to - from) / columns;
  const auto columnOf = [&](double seconds) { return static_cast<long>((seconds - from) / width); };
  ColumnCollector collector(out);
  for (Position at = FirstAtOrAfter(s, from); at.chunk < s.chunks.size(); ++at.chunk, at.index = 0) {
    const Chunk& chunk = s.chunks[at.chunk];
    while (at.index < chunk.seconds.size()) {
      const double seconds = chunk.seconds[at.index];
      if (seconds > to) {
        collector.Flush();
        return out;
      }
      const long column = columnOf(seconds);
      // The longest whole run that starts here and stays in this column is read from
      // its summary; else the sample itself.
      std::size_t taken = 1;
      double low = chunk.values[at.index], high = low;
      for (std::size_t level = 0; level < kRunLengths.size(); ++level) {
        const std::size_t length = kRunLengths[level];
        const std::size_t end = at.index + length;
        if (at.index % length != 0 || end > chunk.seconds.size() || chunk.seconds[end - 1] > to ||
            columnOf(chunk.seconds[end - 1]) != column) {
          continue;
        }
        taken = length;
        low = chunk.runs[level].low[at.index / length];
        high = chunk.runs[level].high[at.index / length];
        break;
      }
      collector.Add(column, seconds, low, high);
      at.index += taken;
    }
  }
  collector.Flush();
  return out;
}

void SampleStore::ForEachRow(const std::function<void(double, std::span<const double>)>& row) const {
  std::vector<Position> heads(series_.size());
  std::vector<double> values(series_.size());
  const auto headTime = [this, &heads](std::size_t i) {
    const Series& s = series_[i];
    return heads[i].chunk < s.chunks.size() ? s.chunks[heads[i].chunk].seconds[heads[i].index]
                                            : std::numeric_limits<double>::infinity();
  };
  for (;;) {
    double now = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < series_.size(); ++i) now = std::min(now, headTime(i));
    if (std::isinf(now)) return;
    for (std::size_t i = 0; i < series_.size(); ++i) {
      values[i] = std::numeric_limits<double>::quiet_NaN();
      if (headTime(i) != now) continue;
      const Chunk& chunk = series_[i].chunks[heads[i].chunk];
      values[i] = chunk.values[heads[i].index];
      if (++heads[i].index == chunk.seconds.size()) heads[i] = {heads[i].chunk + 1, 0};
    }
    row(now, values);
  }
}

}  // namespace portprobe
