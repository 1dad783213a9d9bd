#include "codec/text_search.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "codec/hex_codec.h"
#include "codec/hex_format.h"

namespace portprobe {

namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
// How far apart two bytes of a hex match may lie, so that neither a search nor the
// marking of a few lines reads far through text that holds no bytes.
constexpr std::size_t kLongestHexReach = std::size_t{64} << 10;
// The first stretch that a backward search tries; it doubles until a match is found.
constexpr std::size_t kFirstBackwardStretch = std::size_t{64} << 10;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
  return folded;
}

// The value of the byte group at `position`: two hex digits standing alone between
// blanks; -1 when there is none.
int ByteGroupValue(std::string_view text, std::size_t position) {
  if (position + 2 > text.size()) return -1;
  if (position > 0 && !IsBlank(text[position - 1])) return -1;
  if (position + 2 < text.size() && !IsBlank(text[position + 2])) return -1;
  const int high = HexDigitValue(static_cast<unsigned char>(text[position]));
  const int low = HexDigitValue(static_cast<unsigned char>(text[position + 1]));
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// The next byte group from `position` on, passing over blanks and other words, but
// no further than kLongestHexReach; `position` lies at a blank or at the start of a word.
std::size_t NextByteGroup(std::string_view text, std::size_t position) {
  const std::size_t end = std::min(text.size(), position + kLongestHexReach);
  while (position < end) {
    while (position < end && IsBlank(text[position])) ++position;
    if (position < end && ByteGroupValue(text, position) >= 0) return position;
    while (position < end && !IsBlank(text[position])) ++position;
  }
  return kNotFound;
}

std::size_t FindBytes(std::string_view text, std::string_view needle, std::size_t from, std::size_t end) {
  if (from >= end || end - from < needle.size()) return kNotFound;
  const std::size_t found = text.substr(0, end).find(needle, from);
  return found == std::string_view::npos ? kNotFound : found;
}

// The bytes of a hex pattern; nothing unless it is whole groups of two digits.
std::optional<ByteFrame> HexPatternBytes(std::string_view typed) {
  ByteFrame bytes = ParseHexText(typed);
  const auto digits = std::count_if(typed.begin(), typed.end(), [](char c) { return !IsBlank(c); });
  if (bytes.empty() || static_cast<std::size_t>(digits) != 2 * bytes.size()) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<TextSearch> TextSearch::Make(std::string_view typed, Kind kind, bool matchCase, bool hexLayout) {
  if (kind == Kind::Text) {
    if (typed.empty()) return std::nullopt;
    return matchCase ? TextSearch(Mode::Bytes, std::string(typed)) : TextSearch(Mode::FoldedText, Folded(typed));
  }
  const std::optional<ByteFrame> bytes = HexPatternBytes(typed);
  if (!bytes) return std::nullopt;
  return TextSearch(hexLayout ? Mode::HexLayout : Mode::Bytes, std::string(bytes->begin(), bytes->end()));
}

TextSearch::TextSearch(Mode mode, std::string needle) : mode_(mode), needle_(std::move(needle)) {
  switch (mode_) {
    case Mode::Bytes:
      openings_ = {needle_};
      break;
    case Mode::FoldedText:
      openings_ = {needle_.substr(0, 1)};
      if (const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(needle_[0])));
          upper != needle_[0]) {
        openings_.push_back(std::string(1, upper));
      }
      break;
    case Mode::HexLayout: {
      // The layout writes upper-case digits; other text may hold lower-case ones.
      const std::uint8_t first = static_cast<std::uint8_t>(needle_[0]);
      const std::string upper = FormatHexBytes({&first, 1}).substr(0, 2);
      openings_ = {upper};
      if (Folded(upper) != upper) openings_.push_back(Folded(upper));
      break;
    }
  }
}

// Each opening is looked for once and remembered until the search passes it, so that
// a rare form is not looked for again after every common one.
std::optional<TextRange> TextSearch::Next(std::string_view text, std::size_t from, std::size_t startLimit) const {
  const std::size_t limit = std::min(startLimit, text.size());
  std::array<std::size_t, 2> next{};
  std::array<bool, 2> known{};
  for (std::size_t position = from; position < limit;) {
    std::size_t candidate = kNotFound;
    for (std::size_t i = 0; i < openings_.size(); ++i) {
      if (!known[i] || next[i] < position) {
        const std::size_t end = std::min(text.size(), limit + openings_[i].size() - 1);
        next[i] = FindBytes(text, openings_[i], position, end);
        known[i] = true;
      }
      candidate = std::min(candidate, next[i]);
    }
    if (candidate >= limit) return std::nullopt;
    if (std::optional<TextRange> match = MatchAt(text, candidate)) return match;
    position = candidate + 1;
  }
  return std::nullopt;
}

std::optional<TextRange> TextSearch::Previous(std::string_view text, std::size_t before) const {
  std::size_t end = std::min(before, text.size());
  for (std::size_t stretch = kFirstBackwardStretch; end > 0; stretch *= 2) {
    const std::size_t start = end > stretch ? end - stretch : 0;
    std::optional<TextRange> last;
    for (auto match = Next(text, start, end); match; match = Next(text, match->from + 1, end)) last = match;
    if (last) return last;
    end = start;
  }
  return std::nullopt;
}

std::vector<TextRange> TextSearch::Overlapping(std::string_view text, std::size_t from, std::size_t to) const {
  std::vector<TextRange> matches;
  std::size_t position = ReachBack(text, from);
  for (auto match = Next(text, position, to); match; match = Next(text, position, to)) {
    if (match->to > from) matches.push_back(*match);
    position = match->to;
  }
  return matches;
}

std::optional<TextRange> TextSearch::MatchAt(std::string_view text, std::size_t position) const {
  switch (mode_) {
    case Mode::Bytes:
      return TextRange{position, position + needle_.size()};
    case Mode::FoldedText: {
      if (text.size() - position < needle_.size()) return std::nullopt;
      const std::string_view candidate = text.substr(position, needle_.size());
      if (!std::equal(candidate.begin(), candidate.end(), needle_.begin(),
                      [](char a, char b) { return FoldCase(a) == b; })) {
        return std::nullopt;
      }
      return TextRange{position, position + needle_.size()};
    }
    case Mode::HexLayout:
      return HexLayoutMatchAt(text, position);
  }
  return std::nullopt;
}

std::optional<TextRange> TextSearch::HexLayoutMatchAt(std::string_view text, std::size_t position) const {
  std::size_t at = position;
  for (std::size_t k = 0; k < needle_.size(); ++k) {
    if (k > 0) at = NextByteGroup(text, at + 2);
    if (at == kNotFound || ByteGroupValue(text, at) != static_cast<std::uint8_t>(needle_[k])) return std::nullopt;
  }
  return TextRange{position, at + 2};
}

// A hex match reaches back over as many byte groups as it has bytes, whatever lies
// between them, looked for within kLongestHexReach; a text match over as many bytes.
std::size_t TextSearch::ReachBack(std::string_view text, std::size_t position) const {
  position = std::min(position, text.size());
  if (mode_ != Mode::HexLayout) return position - std::min(position, needle_.size() - 1);
  const std::size_t floor = position - std::min(position, kLongestHexReach);
  std::size_t groups = 0;
  while (groups < needle_.size() && position > floor) {
    --position;
    if (ByteGroupValue(text, position) >= 0) ++groups;
  }
  return position;
}

}  // namespace portprobe
