#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace portprobe {

class TextConverter;

// How received text is decoded and sent text encoded. The text boxes hold UTF-8.
enum class TextEncoding { Utf8, Gb18030 };

// Whether this system converts `encoding` whole: UTF-8 always; GB18030 through glibc's
// module on Linux and code page 54936 on Windows (which Wine 8 lacks: there its GBK part,
// code page 936, stands in). Without any, text goes out and comes in as the bytes it is.
bool EncodingAvailable(TextEncoding encoding);
// Whether GBK is applied where GB18030 is chosen: the system lacks GB18030 and has GBK,
// its one- and two-byte part (Windows without code page 54936).
bool GbkStandsInForGb18030();
// The name of what is applied for `encoding`: "UTF-8", "GB18030", or "GBK".
std::string_view AppliedEncodingName(TextEncoding encoding);

// The bytes of UTF-8 text in `encoding`. Bytes that are not UTF-8 (a file put into
// the send box) go out unchanged, as they would in UTF-8.
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

// The text of bytes in `encoding`, as UTF-8; see TextDecoder. A character cut off at
// the end becomes U+FFFD.
std::string DecodeText(std::span<const std::uint8_t> bytes, TextEncoding encoding);

// Turns bytes in an encoding into UTF-8 as they arrive, a read at a time: the start of
// a character whose end has not come yet is held until the next read, so a character
// split across reads comes out whole. Every byte that belongs to no character becomes
// one U+FFFD, and decoding goes on with the byte after it. UTF-8 passes unchanged,
// since the text boxes decode it themselves.
class TextDecoder {
 public:
  explicit TextDecoder(TextEncoding encoding = TextEncoding::Utf8);
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  // Bytes held from the last read are decoded in the new encoding, with the next read.
  void SetEncoding(TextEncoding encoding);
  // Appends the text of the held bytes and `bytes` to `utf8`, holding back an
  // unfinished character at the end.
  void Decode(std::span<const std::uint8_t> bytes, std::string& utf8);
  // No more bytes follow: a held character start becomes U+FFFD.
  void Finish(std::string& utf8);
  // Hands over the bytes held back, for a display that shows bytes rather than text.
  std::string TakeHeld() { return std::exchange(held_, {}); }

 private:
  // Opens the converter for an encoding other than UTF-8; false when none is needed
  // or the system lacks it.
  bool ConverterReady();

  TextEncoding encoding_;
  // Opened when first needed.
  std::unique_ptr<TextConverter> converter_;
  std::string held_;
};

}  // namespace portprobe
