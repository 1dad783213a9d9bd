#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "wave/sample_lines.h"

namespace portprobe {
namespace {

using Values = std::vector<std::pair<std::string, double>>;

Values Parsed(std::string_view line, TextEncoding encoding = TextEncoding::Utf8) {
  Values values;
  for (const NamedValue& value : ParseSampleLine(line, encoding)) values.emplace_back(value.name, value.value);
  return values;
}

TEST(ParseSampleLine, ReadsTheFormsFirmwarePrints) {
  // Mixed separators; a column keeps its place across runs of separators.
  EXPECT_EQ(Parsed("1.5,2.25;-3\t4e2  +5"), (Values{{"1", 1.5}, {"2", 2.25}, {"3", -3}, {"4", 400}, {"5", 5}}));
  EXPECT_EQ(Parsed("temp:21.5 hum:40,p=-1e-3"), (Values{{"temp", 21.5}, {"hum", 40}, {"p", -0.001}}));
  // Words that are no finite decimal number give no sample but keep their place.
  EXPECT_EQ(Parsed("nan,inf,0x1F,DEADBEEF,-inf,7,+-2,1.2.3,:5,x:,9"), (Values{{"6", 7}, {"11", 9}}));
  EXPECT_EQ(Parsed("OK"), Values{});
  EXPECT_EQ(Parsed(""), Values{});
  // Names in GB18030 (温度) come out as UTF-8 when the text is GB18030 (a system
  // without that code page keeps the bytes).
  if (EncodingAvailable(TextEncoding::Gb18030)) {
    EXPECT_EQ(Parsed("\xCE\xC2\xB6\xC8:21.5", TextEncoding::Gb18030), (Values{{"\xE6\xB8\xA9\xE5\xBA\xA6", 21.5}}));
  }
}

struct Row {
  WallTime time;
  Values values;
  bool operator==(const Row&) const = default;
};

class SampleLinesTest : public ::testing::Test {
 protected:
  void Add(std::string_view bytes, int second) {
    lines_.Add({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, At(second));
  }
  static WallTime At(int second) { return WallTime(std::chrono::seconds(second)); }

  std::vector<Row> rows_;
  SampleLines lines_{[this](WallTime time, std::span<const NamedValue> values) {
    Row row{time, {}};
    for (const NamedValue& value : values) row.values.emplace_back(value.name, value.value);
    rows_.push_back(row);
  }};
};

// A line is one row at the time its end arrived, however the reads cut it.
TEST_F(SampleLinesTest, JoinsLinesAcrossReadsAndCountsLinesWithoutNumbers) {
  Add("1,2", 1);
  Add("\r", 2);
  Add("\n3,", 3);
  Add("4\nboot ok\n\r\n5\r6\n", 4);
  EXPECT_EQ(rows_, (std::vector<Row>{{At(2), {{"1", 1}, {"2", 2}}},
                                     {At(4), {{"1", 3}, {"2", 4}}},
                                     {At(4), {{"1", 5}}},
                                     {At(4), {{"1", 6}}}}));
  EXPECT_EQ(lines_.SkippedLines(), 2u);  // "boot ok" and the empty line

  // A line longer than any plottable one is dropped whole, and so is a line with a
  // control byte (binary data); the next line is read.
  Add(std::string(SampleLines::kMaxLineBytes + 10, '7') + "\n1,2", 5);
  Add(std::string("\x01,3\r\n8\n", 8), 5);
  EXPECT_EQ(rows_.back(), (Row{At(5), {{"1", 8}}}));
  EXPECT_EQ(rows_.size(), 5u);
  EXPECT_EQ(lines_.SkippedLines(), 4u);

  // A decoded block is one row, whatever lines its output has.
  lines_.AddBlock("register0=234\r\nnote\r\nregister1=400\r\n", At(8));
  EXPECT_EQ(rows_.back(), (Row{At(8), {{"register0", 234}, {"register1", 400}}}));
  EXPECT_EQ(lines_.SkippedLines(), 5u);

  lines_.Reset();
  Add("9", 6);
  lines_.Reset();  // a partial line is forgotten too
  Add("\n", 7);
  EXPECT_EQ(rows_.size(), 6u);
  EXPECT_EQ(lines_.SkippedLines(), 1u);
}

}  // namespace
}  // namespace portprobe
