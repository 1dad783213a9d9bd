// Device text read as waveform samples, in two reads cut anywhere: the rows are the
// rows of reading it at once, the store's curves stay in time order and within the
// values added, and the export walks every sample.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "wave/sample_lines.h"
#include "wave/sample_store.h"

namespace {

using namespace portprobe;

struct Reading {
  SampleStore store;
  std::vector<std::vector<NamedValue>> rows;
  SampleLines lines{[this](WallTime time, std::span<const NamedValue> values) {
    rows.emplace_back(values.begin(), values.end());
    store.AddRow(time, values);
  }};
};

bool SameRows(const std::vector<std::vector<NamedValue>>& a, const std::vector<std::vector<NamedValue>>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                      [](const NamedValue& p, const NamedValue& q) { return p.name == q.name && p.value == q.value; });
  });
}

}  // namespace

// First byte: where the bytes after it are cut; its low bit also picks GB18030.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> text(data + 1, size - 1);
  const std::size_t cut = std::min<std::size_t>(data[0] * 8, text.size());
  const TextEncoding encoding = data[0] & 1 ? TextEncoding::Gb18030 : TextEncoding::Utf8;
  const WallTime time{};
  Reading whole, pieces;
  whole.lines.SetEncoding(encoding);
  pieces.lines.SetEncoding(encoding);
  whole.lines.Add(text, time);
  pieces.lines.Add(text.first(cut), time);
  pieces.lines.Add(text.subspan(cut), time);
  if (!SameRows(whole.rows, pieces.rows) || whole.lines.SkippedLines() != pieces.lines.SkippedLines()) std::abort();
  whole.lines.AddBlock({reinterpret_cast<const char*>(text.data()), text.size()}, time);

  const SampleStore& store = whole.store;
  if (store.SeriesCount() > SampleStore::kMaxSeries) std::abort();
  for (std::size_t series = 0; series < store.SeriesCount(); ++series) {
    const std::vector<CurvePoint> curve = store.Envelope(series, -1, store.LastSeconds() + 1, 7);
    for (std::size_t i = 0; i < curve.size(); ++i) {
      if (!std::isfinite(curve[i].value) || (i > 0 && curve[i].seconds < curve[i - 1].seconds)) std::abort();
    }
  }
  std::size_t exported = 0;
  store.ForEachRow([&](double, std::span<const double> values) {
    exported += static_cast<std::size_t>(std::count_if(values.begin(), values.end(), [](double v) { return !std::isnan(v); }));
  });
  std::size_t kept = 0;
  for (std::size_t series = 0; series < store.SeriesCount(); ++series) kept += store.SampleCount(series);
  if (exported != kept) std::abort();
  return 0;
}
