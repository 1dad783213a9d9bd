#include "wave/sample_lines.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cmath>

namespace portprobe {

namespace {

bool IsSeparator(char c) { return c == ',' || c == ';' || c == ' ' || c == '\t'; }
bool IsLineEnd(std::uint8_t byte) { return byte == '\n' || byte == '\r'; }
// Line ends included; tab is text.
bool IsControl(std::uint8_t byte) { return (byte < 0x20 && byte != '\t') || byte == 0x7F; }

// The first LF or CR, by the library's fast search: binary data is mostly passed over.
const std::uint8_t* FindLineEnd(const std::uint8_t* at, const std::uint8_t* end) {
  const auto* lf = static_cast<const std::uint8_t*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
  const std::uint8_t* limit = lf != nullptr ? lf : end;
  const auto* cr = static_cast<const std::uint8_t*>(std::memchr(at, '\r', static_cast<std::size_t>(limit - at)));
  return cr != nullptr ? cr : limit;
}

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

// A line's bytes are taken a run at a time, up to its end or a control byte; after a
// control byte the line is only looked through for its end.
void SampleLines::Add(std::span<const std::uint8_t> bytes, WallTime time) {
  const std::uint8_t* at = bytes.data();
  const std::uint8_t* const end = at + bytes.size();
  while (at != end) {
    if (afterCr_ && *at == '\n') ++at;  // the LF of a CR LF
    afterCr_ = false;
    const std::uint8_t* stop = unreadable_ ? FindLineEnd(at, end) : std::find_if(at, end, IsControl);
    const auto room = static_cast<std::ptrdiff_t>(kMaxLineBytes - line_.size());
    if (!unreadable_) line_.append(at, stop - at > room ? at + room : stop);
    unreadable_ = unreadable_ || stop - at > room;
    if (stop == end) return;
    at = stop + 1;
    if (!IsLineEnd(*stop)) {
      unreadable_ = true;
      continue;
    }
    afterCr_ = *stop == '\r';
    EndLine(time);
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
  const std::vector<NamedValue> values = unreadable_ ? std::vector<NamedValue>() : ParseSampleLine(line_, encoding_);
  if (values.empty()) {
    ++skipped_;
  } else {
    sink_(time, values);
  }
  line_.clear();
  unreadable_ = false;
}

void SampleLines::Reset() {
  line_.clear();
  unreadable_ = false;
  afterCr_ = false;
  skipped_ = 0;
}

}  // namespace portprobe
