#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portprobe {

// A stretch of the searched text: bytes from..to, to excluded.
struct TextRange {
  std::size_t from = 0;
  std::size_t to = 0;
  bool operator==(const TextRange&) const = default;
};

// What the find bar looks for in the receive box, and the search itself.
//
// Text is looked for as UTF-8 bytes, with ASCII letters folded when case does not
// matter; other bytes are compared as they are, so a match never starts inside a
// character. Hex bytes are looked for in the hex layout of the box, where each byte is
// a group of two digits: blanks, line breaks, block separators and anything between
// the groups that is not a byte (a time stamp, a check mark) are passed over. Without
// the layout (character display) hex bytes are looked for as raw bytes. A search takes
// time in proportion to the text it reads, whatever the pattern.
class TextSearch {
 public:
  enum class Kind { Text, Hex };

  // Nothing for an empty pattern, or hex text that is not whole groups of two digits.
  static std::optional<TextSearch> Make(std::string_view typed, Kind kind, bool matchCase, bool hexLayout);

  // The first match that starts at `from` or later and before `startLimit`.
  std::optional<TextRange> Next(std::string_view text, std::size_t from, std::size_t startLimit = kNoLimit) const;
  // The last match that starts before `before`.
  std::optional<TextRange> Previous(std::string_view text, std::size_t before) const;
  // The last match that starts from `from` on and before `before`.
  std::optional<TextRange> LastIn(std::string_view text, std::size_t from, std::size_t before) const;
  // The matches that overlap from..to, one after another without overlapping, for
  // highlighting a few lines however long the text is.
  std::vector<TextRange> Overlapping(std::string_view text, std::size_t from, std::size_t to) const;

  static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

 private:
  enum class Mode { Bytes, FoldedText, HexLayout };

  TextSearch(Mode mode, std::string needle);
  class Openings;
  // The first or the last match that starts from `from` on and before `startLimit`.
  std::optional<TextRange> FirstOrLast(std::string_view text, std::size_t from, std::size_t startLimit,
                                       bool last) const;
  std::vector<std::string> Forms(const std::string& bytes) const;

  // Calls `found` with each match that starts from `from` on and before `startLimit`,
  // in order, until it returns false.
  template <typename Found>
  void Scan(std::string_view text, std::size_t from, std::size_t startLimit, Found&& found) const;
  template <bool kFold, typename Found>
  void ScanBytes(std::string_view text, std::size_t from, std::size_t startLimit, Found& found) const;
  template <typename Found>
  void ScanHexLayout(std::string_view text, std::size_t from, std::size_t startLimit, Found& found) const;
  // Where the search for matches that reach `position` has to begin.
  std::size_t ReachBack(std::string_view text, std::size_t position) const;
  Mode mode_;
  // The bytes looked for; in folded text mode in lower case.
  std::string needle_;
  // For each count of bytes matched, how many still match after a mismatch.
  std::vector<std::size_t> border_;
  // The forms in which the needle's start and its last byte stand in the text.
  std::vector<std::string> firstForms_;
  std::vector<std::string> lastForms_;
};

}  // namespace portprobe
