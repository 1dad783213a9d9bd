// glibc's iconv does the converting; its GB18030 module comes with libc6.
#include "codec/text_encoding.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace portprobe {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

const char* IconvName(TextEncoding encoding) { return encoding == TextEncoding::Gb18030 ? "GB18030" : "UTF-8"; }

// What to do with a byte that starts no character of the input's encoding.
enum class OnInvalid { Replace, Copy };

// Converts what it can of `input` onto `output`. An invalid byte is replaced or copied
// and conversion goes on after it. Returns how many bytes at the end were left as the
// start of an unfinished character.
std::size_t Convert(iconv_t converter, std::string_view input, OnInvalid onInvalid, std::string& output) {
  char* in = const_cast<char*>(input.data());  // iconv's signature; it does not write
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    std::array<char, 4096> buffer;
    char* out = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    const int error = errno;  // before append, which may allocate and change errno
    output.append(buffer.data(), static_cast<std::size_t>(out - buffer.data()));
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    if (error == EINVAL) break;
    if (onInvalid == OnInvalid::Replace) {
      output += kReplacement;
    } else {
      output += *in;
    }
    ++in;
    --inLeft;
  }
  return inLeft;
}

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != kNoConverter) ::iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t Handle() const { return handle_; }

 private:
  iconv_t handle_;
};

}  // namespace

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return std::string(utf8);
  const Converter converter(IconvName(encoding), "UTF-8");
  // Without the module there is nothing better to send than the text as it stands.
  if (converter.Handle() == kNoConverter) return std::string(utf8);
  std::string bytes;
  bytes.reserve(utf8.size());
  const std::size_t unfinished = Convert(converter.Handle(), utf8, OnInvalid::Copy, bytes);
  bytes += utf8.substr(utf8.size() - unfinished);
  return bytes;
}

std::string DecodeText(std::span<const std::uint8_t> bytes, TextEncoding encoding) {
  TextDecoder decoder(encoding);
  std::string text;
  decoder.Decode(bytes, text);
  decoder.Finish(text);
  return text;
}

TextDecoder::TextDecoder(TextEncoding encoding) : encoding_(encoding) {}

TextDecoder::~TextDecoder() {
  if (converter_ != nullptr) ::iconv_close(static_cast<iconv_t>(converter_));
}

void TextDecoder::SetEncoding(TextEncoding encoding) {
  if (encoding == encoding_) return;
  if (converter_ != nullptr) ::iconv_close(static_cast<iconv_t>(converter_));
  converter_ = nullptr;
  encoding_ = encoding;
}

bool TextDecoder::ConverterReady() {
  if (encoding_ != TextEncoding::Utf8 && converter_ == nullptr) {
    const iconv_t opened = ::iconv_open("UTF-8", IconvName(encoding_));
    if (opened != kNoConverter) converter_ = opened;
  }
  return converter_ != nullptr;
}

void TextDecoder::Decode(std::span<const std::uint8_t> bytes, std::string& utf8) {
  // UTF-8, or an encoding without its module: the bytes as they are.
  if (!ConverterReady()) {
    utf8 += TakeHeld();
    utf8.append(bytes.begin(), bytes.end());
    return;
  }
  held_.append(bytes.begin(), bytes.end());
  const std::size_t unfinished = Convert(static_cast<iconv_t>(converter_), held_, OnInvalid::Replace, utf8);
  held_.erase(0, held_.size() - unfinished);
}

void TextDecoder::Finish(std::string& utf8) {
  if (!held_.empty()) utf8 += kReplacement;
  held_.clear();
}

}  // namespace portprobe
