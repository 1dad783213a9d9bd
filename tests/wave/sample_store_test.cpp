#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/c_file.h"
#include "support/temp_dir.h"
#include "wave/sample_csv.h"
#include "wave/sample_store.h"

namespace portprobe {
namespace {

WallTime AtSeconds(double seconds) {
  return WallTime(std::chrono::duration_cast<WallTime::duration>(std::chrono::duration<double>(seconds)));
}

void Add(SampleStore& store, double seconds, std::vector<NamedValue> values) {
  store.AddRow(AtSeconds(seconds), values);
}

// Every column of the curve holds exactly the lowest and highest value of the samples
// that fall in it, whatever mix of summaries and single samples was read.
TEST(SampleStore, EnvelopeHoldsEachColumnsLowAndHigh) {
  SampleStore store;
  std::mt19937 random(7);
  std::normal_distribution<double> value(0, 10);
  std::vector<std::pair<double, double>> samples;
  double seconds = 0;
  for (int i = 0; i < 20'000; ++i) {
    seconds += i % 1000 < 500 ? 0.001 : 0.0001;  // dense and sparse stretches
    const double v = value(random);
    Add(store, seconds, {{"x", v}});
    // The store's time: since the first sample, as the wall clock holds it.
    samples.emplace_back(std::chrono::duration<double>(AtSeconds(seconds) - AtSeconds(0.001)).count(), v);
  }
  for (const auto& [from, to, columns] : {std::tuple{0.0, 12.0, 300}, {1.234, 3.5, 777}, {2.0, 2.01, 500}, {11.0, 20.0, 1}}) {
    const double width = (to - from) / columns;
    const auto columnOf = [&](double t) { return static_cast<long>((t - from) / width); };
    std::map<long, std::pair<double, double>> expected;
    for (const auto& [t, v] : samples) {
      if (t < from || t > to) continue;
      auto [it, added] = expected.try_emplace(columnOf(t), v, v);
      it->second = {std::min(it->second.first, v), std::max(it->second.second, v)};
    }
    const std::vector<CurvePoint> curve = store.Envelope(0, from, to, columns);
    std::map<long, std::pair<double, double>> got;
    for (const CurvePoint& point : curve) {
      auto [it, added] = got.try_emplace(columnOf(point.seconds), point.value, point.value);
      it->second = {std::min(it->second.first, point.value), std::max(it->second.second, point.value)};
    }
    EXPECT_EQ(got, expected) << from << ".." << to;
    EXPECT_LE(curve.size(), 2u * static_cast<std::size_t>(columns) + 2);
    EXPECT_TRUE(std::is_sorted(curve.begin(), curve.end(),
                               [](const CurvePoint& a, const CurvePoint& b) { return a.seconds < b.seconds; }));
  }
}

TEST(SampleStore, KeepsTheLastMillionOfEachSeriesAndReadsValuesAtATime) {
  SampleStore store;
  const std::size_t total = SampleStore::kMaxSamplesPerSeries + 10'000;
  for (std::size_t i = 0; i < total; ++i) {
    Add(store, static_cast<double>(i) / 1000, {{"a", static_cast<double>(i)}});
  }
  Add(store, 5, {{"b", 1.5}});  // a clock set back: a row of its own after the last
  EXPECT_GE(store.SampleCount(0), SampleStore::kMaxSamplesPerSeries);
  EXPECT_LT(store.SampleCount(0), SampleStore::kMaxSamplesPerSeries + 4096);
  const double first = store.FirstSeconds();
  EXPECT_DOUBLE_EQ(first, static_cast<double>(total - store.SampleCount(0)) / 1000);
  EXPECT_FALSE(store.ValueAt(0, first - 0.0005).has_value());
  EXPECT_EQ(store.ValueAt(0, 500.0005)->value, 500'000);
  EXPECT_EQ(store.ValueAt(1, store.LastSeconds())->value, 1.5);
  EXPECT_DOUBLE_EQ(store.ValueAt(1, store.LastSeconds())->seconds, static_cast<double>(total - 1) / 1000 + 1e-6);
  store.Clear();
  EXPECT_EQ(store.SeriesCount(), 0u);
  Add(store, 1000, {{"c", 2}});
  EXPECT_EQ(store.LastSeconds(), 0);  // time starts again at the first sample
}

std::vector<std::vector<std::string>> CsvCells(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    rows.emplace_back();
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
        cell += '"';
        ++i;
      } else if (line[i] == '"') {
        quoted = !quoted;
      } else if (line[i] == ',' && !quoted) {
        rows.back().push_back(cell);
        cell.clear();
      } else {
        cell += line[i];
      }
    }
    rows.back().push_back(cell);
  }
  return rows;
}

// Values read back from the file are the values added, bit for bit.
TEST(SampleCsv, TheExportGivesBackEveryValueExactly) {
  SampleStore store;
  Add(store, 100.25, {{"a", 0.1}, {"b,\"c\"", -1e-300}});
  Add(store, 100.5, {{"a", 1.0 / 3}});
  Add(store, 101, {{"b,\"c\"", 12345678.901234567}, {"d", 2}});
  const testing::TempDir folder;
  ASSERT_TRUE(WriteSamplesCsv(store, folder.File("samples.csv")));
  const auto rows = CsvCells(testing::ReadFile(folder.File("samples.csv")));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"time_s", "a", "b,\"c\"", "d"}));
  EXPECT_EQ(rows[1][0], "0.000000");
  EXPECT_EQ(rows[2][0], "0.250000");
  EXPECT_EQ(rows[3][0], "0.750000");
  EXPECT_EQ(std::strtod(rows[1][1].c_str(), nullptr), 0.1);
  EXPECT_EQ(std::strtod(rows[1][2].c_str(), nullptr), -1e-300);
  EXPECT_EQ(std::strtod(rows[2][1].c_str(), nullptr), 1.0 / 3);
  EXPECT_EQ(rows[2][2], "");
  EXPECT_EQ(std::strtod(rows[3][2].c_str(), nullptr), 12345678.901234567);
  EXPECT_EQ(rows[3][3], "2");

  const Outcome refused = WriteSamplesCsv(store, folder.File("missing/samples.csv"));
  EXPECT_FALSE(refused);
  EXPECT_FALSE(refused.Reason().empty());
}

// The log of a long run is written as lines come; a series that appears later adds a
// column and the header again.
TEST(SampleCsv, TheLogAddsAColumnForALaterSeries) {
  const testing::TempDir folder;
  {
    CFile file = OpenCFile(folder.File("log.csv"), "wb");
    SampleCsvLog log(file.get(), TextEncoding::Utf8);
    const std::string text = "1,2\nboot\nx:5 1:3\n";
    log.Add({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, AtSeconds(10));
    EXPECT_TRUE(log.Finish());
  }
  EXPECT_EQ(testing::ReadFile(folder.File("log.csv")),
            "time_s,1,2\n0.000000,1,2\ntime_s,1,2,x\n0.000000,3,,5\n");
}

}  // namespace
}  // namespace portprobe
