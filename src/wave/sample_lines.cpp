#include "wave/sample_lines.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace portprobe {

namespace {

bool IsSeparator(char c) { return c == ',' || c == ';' || c == ' ' || c == '\t'; }

// A finite decimal number filling the whole word, with an optional leading '+'.
bool ReadNumber(std::string_view word, double& value) {
  const bool plus = !word.empty() && word.front() == '+';
  if (plus) word.remove_prefix(1);
  if (word.empty() || (plus && word.front() == '-')) return false;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

std::string NameText(std::string_view name, TextEncoding encoding) {
  return DecodeText({reinterpret_cast<const std::uint8_t*>(name.data()), name.size()}, encoding);
}

}  // namespace

std::vector<NamedValue> ParseSampleLine(std::string_view line, TextEncoding encoding) {
  std::vector<NamedValue> values;
  int place = 0;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsSeparator(line[at])) ++at;
    if (at == line.size()) break;
    std::size_t end = at;
    while (end < line.size() && !IsSeparator(line[end])) ++end;
    const std::string_view word = line.substr(at, end - at);
    at = end;
    ++place;
    double value = 0;
    const std::size_t pair = word.find_first_of(":=");
    if (pair != std::string_view::npos && pair > 0) {
      if (ReadNumber(word.substr(pair + 1), value)) values.push_back({NameText(word.substr(0, pair), encoding), value});
    } else if (ReadNumber(word, value)) {
      values.push_back({std::to_string(place), value});
    }
  }
  return values;
}

void SampleLines::Add(std::span<const std::uint8_t> bytes, WallTime time) {
  for (const std::uint8_t byte : bytes) {
    const bool crlf = afterCr_ && byte == '\n';
    afterCr_ = byte == '\r';
    if (crlf) continue;
    if (byte == '\n' || byte == '\r') {
      EndLine(time);
    } else if (line_.size() < kMaxLineBytes) {
      line_.push_back(static_cast<char>(byte));
    } else {
      overlong_ = true;
    }
  }
}

void SampleLines::AddBlock(std::string_view text, WallTime time) {
  std::vector<NamedValue> row;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;
    const std::vector<NamedValue> values = ParseSampleLine(line, encoding_);
    if (values.empty()) ++skipped_;
    row.insert(row.end(), values.begin(), values.end());
  }
  if (!row.empty()) sink_(time, row);
}

void SampleLines::EndLine(WallTime time) {
  const std::vector<NamedValue> values = overlong_ ? std::vector<NamedValue>() : ParseSampleLine(line_, encoding_);
  if (values.empty()) {
    ++skipped_;
  } else {
    sink_(time, values);
  }
  line_.clear();
  overlong_ = false;
}

void SampleLines::Reset() {
  line_.clear();
  overlong_ = false;
  afterCr_ = false;
  skipped_ = 0;
}

}  // namespace portprobe
