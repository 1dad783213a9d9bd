#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

#include "common/byte_frame.h"

namespace portprobe {

// Value 0..15 of a hexadecimal digit, or -1 when the byte is not one.
int HexDigitValue(unsigned char c);

// Decodes hex text: groups of exactly two digits, each preceded by any number of
// spaces, CRs or LFs. Decoding ends silently at the first pair that is not a group
// (a lone trailing digit is dropped), or once maxBytes bytes have been produced.
ByteFrame ParseHexText(std::string_view text, std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// Where ParseHexText stops reading `text` before its end: the character (counted from
// 1, in UTF-8) at which the first pair that is not a group begins, and the bytes decoded
// before it. Nothing when the whole text was read.
struct HexTextStop {
  std::size_t character = 0;
  std::size_t bytesBefore = 0;
};
std::optional<HexTextStop> FindHexTextStop(std::string_view text);

// Decodes hex text that arrives in pieces as one text: a byte group split between two
// pieces is joined, and the first pair that is not a group ends the decoding for good.
class HexStreamDecoder {
 public:
  // The bytes that this piece completes, at most maxBytes of them.
  ByteFrame Feed(std::string_view piece, std::size_t maxBytes = std::numeric_limits<std::size_t>::max());
  bool Stopped() const { return stopped_; }
  // Where the text fed so far stopped being hex: at a pair that is no group, or at a
  // group that the last piece left unfinished. Nothing while all of it was read.
  std::optional<HexTextStop> Stop() const;

 private:
  int pendingHigh_ = -1;  // first digit of a group whose second digit is still to come
  bool stopped_ = false;
  std::size_t characters_ = 0;      // read so far
  std::size_t groupCharacter_ = 0;  // the one the last group began at, from 1
  std::size_t bytes_ = 0;           // decoded so far
};

}  // namespace portprobe
