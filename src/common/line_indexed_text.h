#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace portprobe {

// A growing text kept as raw bytes, with an index of its lines so that any line is
// found at once however long the text is. Lines end at CR LF, at a lone CR or at a
// lone LF; a CR LF pair counts as one break even when its two bytes arrived in two
// appends. A line longer than kMaxLineBytes continues on the next line of the index
// (without any byte in between), so that no single line becomes too long to lay out.
//
// The text is bounded: when it grows beyond its byte limit, the oldest whole lines
// are dropped. Positions are byte offsets from the start of the text as it is now.
class LineIndexedText {
 public:
  static constexpr std::size_t kMaxLineBytes = 4096;
  static constexpr std::size_t kDefaultByteLimit = std::size_t{32} << 20;

  // What an edit dropped from the front of the text to stay within the limit.
  struct Dropped {
    std::size_t bytes = 0;
    std::size_t lines = 0;
  };

  explicit LineIndexedText(std::size_t byteLimit = kDefaultByteLimit);

  Dropped Append(std::string_view text);
  // Replaces the bytes from..to (to excluded) with `text`.
  Dropped Replace(std::size_t from, std::size_t to, std::string_view text);
  void Clear();

  std::size_t Size() const { return bytes_.size() - dropped_; }
  bool Empty() const { return Size() == 0; }
  std::string_view All() const { return Slice(0, Size()); }
  std::string_view Slice(std::size_t from, std::size_t to) const;

  // An empty text has one empty line; a text that ends with a break has an empty last line.
  std::size_t LineCount() const { return starts_.size() - firstLine_; }
  std::size_t LineStart(std::size_t line) const { return starts_[firstLine_ + line] - dropped_; }
  // Where the line's text ends, before its break.
  std::size_t LineEnd(std::size_t line) const;
  std::string_view Line(std::size_t line) const { return Slice(LineStart(line), LineEnd(line)); }
  // The line that holds `position`; a position between two lines belongs to the later one.
  std::size_t LineOf(std::size_t position) const;
  // Bytes of the longest line since the text was last cleared.
  std::size_t LongestLine() const { return longestLine_; }

 private:
  static constexpr std::size_t kNoLineEnd = static_cast<std::size_t>(-1);

  // Start of the line after the one that starts at `start` (storage offsets), or
  // kNoLineEnd when that line runs to the end of the text.
  std::size_t NextLineStart(std::size_t start) const;
  std::size_t SplitPoint(std::size_t limit) const;
  // Rebuilds the index from line `first` on, after the bytes up to `editEnd` changed
  // and everything behind them moved by `shift`.
  void Reindex(std::size_t first, std::size_t editEnd, std::ptrdiff_t shift);
  Dropped DropOldestLines();
  void MakeRoomFor(std::size_t growth);
  void CompactIfWorthwhile();
  void Compact();

  std::size_t byteLimit_;
  // Dropped bytes and index entries stay in front until compacting pays off, so that
  // dropping is cheap however often it happens.
  std::string bytes_;
  std::size_t dropped_ = 0;
  std::vector<std::size_t> starts_{0};  // storage offsets of line starts
  std::size_t firstLine_ = 0;
  std::size_t longestLine_ = 0;
};

}  // namespace portprobe
