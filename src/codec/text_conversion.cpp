#include "codec/text_conversion.h"

#include "codec/utf8.h"

namespace portprobe {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// What starts at a position of the input.
struct Piece {
  enum Kind { Character, Invalid, Unfinished } kind;
  std::size_t length;  // of a character
};

bool Between(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }

// GB18030: one byte 00-7F; two bytes 81-FE then 40-7E or 80-FE; four bytes 81-FE,
// 30-39, 81-FE, 30-39. Anything else is a stray byte.
Piece Gb18030PieceAt(std::string_view text, std::size_t position) {
  const auto byte = [&](std::size_t offset) { return static_cast<unsigned char>(text[position + offset]); };
  const std::size_t left = text.size() - position;
  if (byte(0) < 0x80) return {Piece::Character, 1};
  if (!Between(byte(0), 0x81, 0xFE)) return {Piece::Invalid, 1};
  if (left < 2) return {Piece::Unfinished, 0};
  if (Between(byte(1), 0x40, 0x7E) || Between(byte(1), 0x80, 0xFE)) return {Piece::Character, 2};
  if (!Between(byte(1), 0x30, 0x39)) return {Piece::Invalid, 1};
  if (left < 3) return {Piece::Unfinished, 0};
  if (!Between(byte(2), 0x81, 0xFE)) return {Piece::Invalid, 1};
  if (left < 4) return {Piece::Unfinished, 0};
  return Between(byte(3), 0x30, 0x39) ? Piece{Piece::Character, 4} : Piece{Piece::Invalid, 1};
}

// How many bytes a UTF-8 sequence with this first byte has; 0 for no first byte.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (Between(lead, 0xC2, 0xDF)) return 2;
  if (Between(lead, 0xE0, 0xEF)) return 3;
  if (Between(lead, 0xF0, 0xF4)) return 4;
  return 0;
}

Piece Utf8PieceAt(std::string_view text, std::size_t position) {
  const Utf8Character character = DecodeUtf8At(text, position);
  if (character.codePoint != kReplacementCharacter || text.substr(position, 3) == kReplacement) {
    return {Piece::Character, character.length};
  }
  // A valid-looking beginning that the end of the input cut short may go on next time.
  const bool cutShort = position + character.length == text.size() &&
                        character.length < Utf8SequenceLength(static_cast<unsigned char>(text[position]));
  return cutShort ? Piece{Piece::Unfinished, 0} : Piece{Piece::Invalid, 1};
}

Piece PieceAt(TextEncoding encoding, std::string_view text, std::size_t position) {
  return encoding == TextEncoding::Gb18030 ? Gb18030PieceAt(text, position) : Utf8PieceAt(text, position);
}

// Converts the characters one at a time up to the first without a counterpart, and
// returns how many bytes were converted.
std::size_t ConvertEach(TextConverter& converter, TextEncoding from, std::string_view characters, std::string& output) {
  std::size_t offset = 0;
  while (offset < characters.size()) {
    const std::size_t length = PieceAt(from, characters, offset).length;
    if (!converter.ConvertCharacters(characters.substr(offset, length), output)) break;
    offset += length;
  }
  return offset;
}

}  // namespace

std::size_t ConvertText(TextConverter& converter, TextEncoding from, std::string_view input, OnInvalid onInvalid,
                        std::string& output) {
  std::size_t position = 0;
  while (position < input.size()) {
    // The well-formed characters from here go to the system in one call.
    std::size_t end = position;
    Piece piece{};
    while (end < input.size() && (piece = PieceAt(from, input, end)).kind == Piece::Character) end += piece.length;
    const std::string_view characters = input.substr(position, end - position);
    if (!converter.ConvertCharacters(characters, output)) {
      // One of them has no counterpart: it counts as a stray byte.
      const std::size_t converted = ConvertEach(converter, from, characters, output);
      if (converted < characters.size()) {
        end = position + converted;
        piece = {Piece::Invalid, 1};
      }
    }
    position = end;
    if (position == input.size()) break;
    if (piece.kind == Piece::Unfinished) return input.size() - position;
    if (onInvalid == OnInvalid::Replace) {
      output += kReplacement;
    } else {
      output += input[position];
    }
    ++position;
  }
  return 0;
}

}  // namespace portprobe
