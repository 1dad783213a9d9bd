#include "common/line_indexed_text.h"

#include <algorithm>

#include "common/utf8_bytes.h"

namespace portprobe {

namespace {

// Dropped bytes are moved out once they outweigh a quarter of the live text, so each
// byte is moved a bounded number of times on average.
constexpr std::size_t kCompactMinimum = std::size_t{1} << 20;
// Room for the usual appends beyond the limit and the dropped bytes not yet moved out.
constexpr std::size_t kAppendRoom = std::size_t{4} << 20;

}  // namespace

LineIndexedText::LineIndexedText(std::size_t byteLimit) : byteLimit_(byteLimit) {}

LineIndexedText::Dropped LineIndexedText::Append(std::string_view text) { return Replace(Size(), Size(), text); }

LineIndexedText::Dropped LineIndexedText::Replace(std::size_t from, std::size_t to, std::string_view text) {
  if (from == to && text.empty()) return {};
  // The line before the edit is indexed again too: a CR at its end may now meet an LF.
  if (text.size() > to - from) MakeRoomFor(text.size() - (to - from));
  const std::size_t line = LineOf(from);
  const std::size_t first = firstLine_ + (line > 0 ? line - 1 : 0);
  bytes_.replace(dropped_ + from, to - from, text);
  const auto shift = static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(to - from);
  Reindex(first, dropped_ + from + text.size(), shift);
  return DropOldestLines();
}

void LineIndexedText::Clear() {
  std::string().swap(bytes_);
  starts_.assign(1, 0);
  dropped_ = 0;
  firstLine_ = 0;
  longestLine_ = 0;
}

std::string_view LineIndexedText::Slice(std::size_t from, std::size_t to) const {
  return std::string_view(bytes_).substr(dropped_ + from, to - from);
}

std::size_t LineIndexedText::LineEnd(std::size_t line) const {
  const std::size_t index = firstLine_ + line;
  const std::size_t start = starts_[index];
  std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : bytes_.size();
  if (end > start && bytes_[end - 1] == '\n') --end;
  if (end > start && bytes_[end - 1] == '\r') --end;
  return end - dropped_;
}

std::size_t LineIndexedText::LineOf(std::size_t position) const {
  const auto after =
      std::upper_bound(starts_.begin() + static_cast<std::ptrdiff_t>(firstLine_), starts_.end(), position + dropped_);
  return static_cast<std::size_t>(after - starts_.begin()) - 1 - firstLine_;
}

std::size_t LineIndexedText::NextLineStart(std::size_t start) const {
  const std::size_t end = bytes_.size();
  const std::size_t limit = start + kMaxLineBytes;
  for (std::size_t p = start; p < end; ++p) {
    const char c = bytes_[p];
    if (c == '\n') return p + 1;
    if (c == '\r') return p + 1 < end && bytes_[p + 1] == '\n' ? p + 2 : p + 1;
    if (p == limit) return SplitPoint(limit);
  }
  return kNoLineEnd;
}

// A long line is split before the character that reaches the limit, never inside it.
std::size_t LineIndexedText::SplitPoint(std::size_t limit) const {
  std::size_t p = limit;
  while (p + 3 > limit && IsUtf8Continuation(bytes_[p])) --p;
  return IsUtf8Continuation(bytes_[p]) ? limit : p;
}

void LineIndexedText::Reindex(std::size_t first, std::size_t editEnd, std::ptrdiff_t shift) {
  std::vector<std::size_t> fresh;
  auto resume = starts_.end();
  std::size_t start = starts_[first];
  for (;;) {
    const std::size_t next = NextLineStart(start);
    longestLine_ = std::max(longestLine_, (next == kNoLineEnd ? bytes_.size() : next) - start);
    if (next == kNoLineEnd) break;
    fresh.push_back(next);
    start = next;
    // Behind the edit the old index holds again from the first line start both agree on.
    if (next > editEnd) {
      const auto old = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(next) - shift);
      const auto match = std::lower_bound(starts_.begin() + static_cast<std::ptrdiff_t>(first) + 1, starts_.end(), old);
      if (match != starts_.end() && *match == old) {
        resume = match + 1;
        break;
      }
    }
  }
  for (auto kept = resume; kept != starts_.end(); ++kept) {
    *kept = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(*kept) + shift);
  }
  const auto replaced = starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(first) + 1, resume);
  starts_.insert(replaced, fresh.begin(), fresh.end());
}

// Drops whole lines from the front until the text fits its limit; the last line stays.
LineIndexedText::Dropped LineIndexedText::DropOldestLines() {
  if (Size() <= byteLimit_) return {};
  const auto begin = starts_.begin() + static_cast<std::ptrdiff_t>(firstLine_);
  auto keep = std::lower_bound(begin, starts_.end(), bytes_.size() - byteLimit_);
  if (keep == starts_.end()) --keep;
  const Dropped dropped{*keep - dropped_, static_cast<std::size_t>(keep - begin)};
  dropped_ = *keep;
  firstLine_ += dropped.lines;
  CompactIfWorthwhile();
  return dropped;
}

// Dropped bytes make room first. A small text grows the usual way; past a quarter of
// the bound the storage goes to all that the bounded text can need at once, since
// doubling on would hold old and new storage, up to twice the bound, in memory
// together. Pages that are never written take no memory.
void LineIndexedText::MakeRoomFor(std::size_t growth) {
  if (bytes_.size() + growth <= bytes_.capacity()) return;
  Compact();
  const std::size_t needed = bytes_.size() + growth;
  const std::size_t bound = byteLimit_ + byteLimit_ / 4 + kAppendRoom;
  if (needed > bytes_.capacity() && 4 * needed > bound) bytes_.reserve(std::max(needed, bound));
}

void LineIndexedText::CompactIfWorthwhile() {
  if (dropped_ >= kCompactMinimum && dropped_ >= Size() / 4) Compact();
}

void LineIndexedText::Compact() {
  if (dropped_ == 0) return;
  bytes_.erase(0, dropped_);
  starts_.erase(starts_.begin(), starts_.begin() + static_cast<std::ptrdiff_t>(firstLine_));
  for (std::size_t& start : starts_) start -= dropped_;
  dropped_ = 0;
  firstLine_ = 0;
}

}  // namespace portprobe
