#include "codec/text_search.h"

#include <algorithm>
#include <array>
#include <bit>
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
// The most bytes of the needle's start that are looked for at once where no match has
// begun: short enough that looking costs a bounded time per byte of the text.
constexpr std::size_t kLongestOpening = 8;
// The first stretch that a backward search tries; it doubles until a match is found.
constexpr std::size_t kFirstBackwardStretch = std::size_t{64} << 10;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
  return folded;
}

// The value of each byte as a hex digit, -1 for other bytes: looked up for every
// character of the layout a search passes.
constexpr std::array<std::int8_t, 256> kDigitValues = [] {
  std::array<std::int8_t, 256> values{};
  for (int c = 0; c < 256; ++c) {
    values[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c >= '0' && c <= '9'   ? c - '0'
                                                                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                                                          : -1);
  }
  return values;
}();

int DigitValue(char c) { return kDigitValues[static_cast<unsigned char>(c)]; }

// The value of the byte group at `position`: two hex digits standing alone between
// blanks; -1 when there is none.
int ByteGroupValue(std::string_view text, std::size_t position) {
  if (position + 2 > text.size()) return -1;
  if (position > 0 && !IsBlank(text[position - 1])) return -1;
  if (position + 2 < text.size() && !IsBlank(text[position + 2])) return -1;
  const int high = DigitValue(text[position]);
  const int low = DigitValue(text[position + 1]);
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

// The place of the `count`th byte group before `position`, or `floor` when fewer lie
// between them.
std::size_t GroupsBack(std::string_view text, std::size_t position, std::size_t count, std::size_t floor) {
  std::size_t groups = 0;
  while (groups < count && position > floor) {
    --position;
    if (ByteGroupValue(text, position) >= 0) ++groups;
  }
  return position;
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

// border_[k]: the length of the longest proper prefix of the needle's first k bytes
// that is also their suffix, where a partial match goes on after a mismatch.
TextSearch::TextSearch(Mode mode, std::string needle)
    : mode_(mode), needle_(std::move(needle)), border_(needle_.size() + 1, 0) {
  for (std::size_t k = 1, b = 0; k < needle_.size(); ++k) {
    while (b > 0 && needle_[k] != needle_[b]) b = border_[b];
    if (needle_[k] == needle_[b]) ++b;
    border_[k + 1] = b;
  }
  firstForms_ = Forms(mode_ == Mode::Bytes ? needle_.substr(0, kLongestOpening) : needle_.substr(0, 1));
  lastForms_ = Forms(needle_.substr(needle_.size() - 1));
}

// The one or two forms in which `bytes` stand in the text: as they are, in either case
// when case does not matter, or as the layout's digits of a byte, which other text may
// hold in lower case.
std::vector<std::string> TextSearch::Forms(const std::string& bytes) const {
  std::string form = bytes;
  if (mode_ == Mode::HexLayout) {
    const std::uint8_t byte = static_cast<std::uint8_t>(bytes[0]);
    form = FormatHexBytes({&byte, 1}).substr(0, 2);
  } else if (mode_ == Mode::FoldedText) {
    form[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(form[0])));
  }
  std::vector<std::string> forms = {form};
  if (mode_ != Mode::Bytes && Folded(form) != form) forms.push_back(Folded(form));
  return forms;
}

// Where a match may begin: the next place of a form of the needle's first byte (or of
// its first byte group). Each form is looked for once and remembered until the scan
// passes it, so that a rare form is not looked for again after every common one.
class TextSearch::Openings {
 public:
  // The forms of `byte`, the needle's first or last.
  Openings(const std::vector<std::string>& forms, char byte, std::string_view text)
      : forms_(forms), byte_(static_cast<std::uint8_t>(byte)), text_(text) {}

  std::size_t From(std::size_t position, std::size_t end) {
    std::size_t candidate = kNotFound;
    for (std::size_t i = 0; i < forms_.size(); ++i) {
      if (!known_[i] || next_[i] < position) {
        next_[i] = FindBytes(text_, forms_[i], position, end);
        known_[i] = true;
      }
      candidate = std::min(candidate, next_[i]);
    }
    return candidate;
  }

  std::size_t GroupFrom(std::size_t position, std::size_t limit) {
    const std::size_t end = std::min(text_.size(), limit + 1);
    for (std::size_t at = From(position, end); at < limit; at = From(at + 1, end)) {
      if (ByteGroupValue(text_, at) == byte_) return at;
    }
    return kNotFound;
  }

 private:
  const std::vector<std::string>& forms_;
  int byte_;
  std::string_view text_;
  std::array<std::size_t, 2> next_{};
  std::array<bool, 2> known_{};
};

std::optional<TextRange> TextSearch::Next(std::string_view text, std::size_t from, std::size_t startLimit) const {
  return FirstOrLast(text, from, startLimit, false);
}

std::optional<TextRange> TextSearch::FirstOrLast(std::string_view text, std::size_t from, std::size_t startLimit,
                                                 bool last) const {
  std::optional<TextRange> found;
  Scan(text, from, startLimit, [&found, last](TextRange match) {
    found = match;
    return last;
  });
  return found;
}

// Each stretch is scanned once, from its start, for its last match.
std::optional<TextRange> TextSearch::Previous(std::string_view text, std::size_t before) const {
  std::size_t end = std::min(before, text.size());
  for (std::size_t stretch = kFirstBackwardStretch; end > 0; stretch *= 2) {
    const std::size_t start = end > stretch ? end - stretch : 0;
    if (std::optional<TextRange> last = LastIn(text, start, end)) return last;
    end = start;
  }
  return std::nullopt;
}

std::optional<TextRange> TextSearch::LastIn(std::string_view text, std::size_t from, std::size_t before) const {
  return FirstOrLast(text, from, before, true);
}

std::vector<TextRange> TextSearch::Overlapping(std::string_view text, std::size_t from, std::size_t to) const {
  std::vector<TextRange> matches;
  std::size_t taken = ReachBack(text, from);
  Scan(text, taken, to, [&](TextRange match) {
    if (match.from >= taken && match.to > from) {
      matches.push_back(match);
      taken = match.to;
    }
    return true;
  });
  return matches;
}

// Knuth-Morris-Pratt: every byte (or byte group) is looked at a bounded number of times
// whatever the pattern, so a long pattern that nearly matches everywhere costs no more
// than a short one. Where no match has begun, the next opening is found with memchr.
template <typename Found>
void TextSearch::Scan(std::string_view text, std::size_t from, std::size_t startLimit, Found&& found) const {
  if (mode_ == Mode::HexLayout) {
    ScanHexLayout(text, from, startLimit, found);
    return;
  }
  if (mode_ == Mode::FoldedText) {
    ScanBytes<true>(text, from, startLimit, found);
  } else {
    ScanBytes<false>(text, from, startLimit, found);
  }
}

template <bool kFold, typename Found>
void TextSearch::ScanBytes(std::string_view text, std::size_t from, std::size_t startLimit, Found& found) const {
  const char* const needle = needle_.data();
  const std::size_t* const border = border_.data();
  const std::size_t m = needle_.size();
  const std::size_t limit = std::min(startLimit, text.size());
  const std::size_t end = std::min(text.size(), limit + m - 1);
  Openings openings(firstForms_, needle[0], text);
  Openings endings(lastForms_, needle[m - 1], text);
  const std::size_t opening = firstForms_[0].size();
  std::size_t k = 0;
  std::optional<std::size_t> ending;  // the next place from i on where a match may end
  for (std::size_t i = from; i < end; ++i) {
    if (!ending || *ending < i) {
      const char c = kFold ? FoldCase(text[i]) : text[i];
      ending = c == needle[m - 1] ? i : endings.From(i, end);
      if (*ending >= end) return;
      // No match ends before it: the scan goes on where one ending there begins.
      if (*ending - i >= m) {
        i = *ending - (m - 1);
        k = 0;
      }
    }
    if (k == 0) {
      const std::size_t at = openings.From(i, end);
      if (at >= limit) return;
      k = opening;  // no match begins before the opening, and its bytes match
      i = at + opening - 1;
    } else {
      const char c = kFold ? FoldCase(text[i]) : text[i];
      while (k > 0 && needle[k] != c) k = border[k];
      if (needle[k] == c) ++k;
    }
    if (k == m) {
      if (i + 1 - m >= limit || !found(TextRange{i + 1 - m, i + 1})) return;
      k = border[m];
    }
  }
}

// The same over the byte groups of the layout: each group's place is kept for the
// last m groups, so a match starts at the group m places back. Two groups of a match
// lie at most kLongestHexReach apart.
template <typename Found>
void TextSearch::ScanHexLayout(std::string_view text, std::size_t from, std::size_t startLimit, Found& found) const {
  const std::size_t m = needle_.size();
  const std::size_t limit = std::min(startLimit, text.size());
  const std::size_t mask = std::bit_ceil(m) - 1;
  std::vector<std::size_t> places(mask + 1);
  std::size_t count = 0;  // groups looked at
  Openings openings(firstForms_, needle_[0], text);
  Openings endings(lastForms_, needle_[m - 1], text);
  std::optional<std::size_t> ending;  // the next group from `at` on where a match may end
  std::size_t k = 0;
  for (std::size_t at = from; at < text.size();) {
    if (k == 0) {
      at = openings.GroupFrom(at, limit);
      if (at >= limit) return;
    } else if ((at = NextByteGroup(text, at)) == kNotFound) {
      k = 0;
      at = places[(count - 1) & mask] + 2;
      continue;
    }
    const auto value = static_cast<char>(DigitValue(text[at]) * 16 + DigitValue(text[at + 1]));
    if (!ending || *ending < at) {
      ending = value == needle_[m - 1] ? at : endings.GroupFrom(at, text.size());
      if (*ending == kNotFound) return;
      // No match ends before it: where one ending there would begin, when that lies
      // well ahead, is where the scan goes on.
      if (*ending - at > 6 * m) {
        if (const std::size_t start = GroupsBack(text, *ending + 2, m, at); start > at) {
          at = start;
          k = 0;
          continue;
        }
      }
    }
    while (k > 0 && needle_[k] != value) k = border_[k];
    if (needle_[k] == value) ++k;
    places[count++ & mask] = at;
    if (k > 0 && places[(count - k) & mask] >= limit) return;
    if (k == m) {
      if (!found(TextRange{places[(count - m) & mask], at + 2})) return;
      k = border_[m];
    }
    at += 2;
  }
}

// A hex match reaches back over as many byte groups as it has bytes, whatever lies
// between them, looked for within kLongestHexReach; a text match over as many bytes.
std::size_t TextSearch::ReachBack(std::string_view text, std::size_t position) const {
  position = std::min(position, text.size());
  if (mode_ != Mode::HexLayout) return position - std::min(position, needle_.size() - 1);
  return GroupsBack(text, position, needle_.size(), position - std::min(position, kLongestHexReach));
}

}  // namespace portprobe
