#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "codec/text_encoding.h"

namespace portprobe {

// What the system converts for us: text between UTF-8 and another encoding. Linux
// uses glibc's iconv, Windows its code page 54936 (GB18030), or where that is missing
// (Wine) code page 936, GBK, which is GB18030's one- and two-byte part.
class TextConverter {
 public:
  TextConverter(TextEncoding from, TextEncoding to);
  ~TextConverter();
  TextConverter(const TextConverter&) = delete;
  TextConverter& operator=(const TextConverter&) = delete;

  // False when the system lacks the encoding.
  bool Ready() const;
  // Whether GB18030 is converted whole, or only its GBK part stands in for it.
  static bool Gb18030Whole();
  // Appends the conversion of `characters`, which are well-formed in the source
  // encoding, and returns true; returns false with `output` untouched when one of
  // them has no counterpart.
  bool ConvertCharacters(std::string_view characters, std::string& output);

 private:
  TextEncoding from_;
  TextEncoding to_;
  void* handle_ = nullptr;  // the iconv descriptor on Linux
};

// What to do with a byte that starts no character of the input's encoding.
enum class OnInvalid { Replace, Copy };

// Converts what it can of `input` onto `output`. A byte that starts no character (or
// one without a counterpart) is replaced by U+FFFD or copied, and conversion goes on
// with the byte after it. Returns how many bytes at the end were left as the start of
// an unfinished character.
std::size_t ConvertText(TextConverter& converter, TextEncoding from, std::string_view input, OnInvalid onInvalid,
                        std::string& output);

}  // namespace portprobe
