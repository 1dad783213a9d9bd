// glibc's iconv does the converting; its GB18030 module comes with libc6.
#include <iconv.h>

#include <array>
#include <cerrno>

#include "codec/text_conversion.h"

namespace portprobe {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

const char* IconvName(TextEncoding encoding) { return encoding == TextEncoding::Gb18030 ? "GB18030" : "UTF-8"; }

}  // namespace

TextConverter::TextConverter(TextEncoding from, TextEncoding to) : from_(from), to_(to) {
  const iconv_t opened = ::iconv_open(IconvName(to_), IconvName(from_));
  if (opened != kNoConverter) handle_ = opened;
}

TextConverter::~TextConverter() {
  if (handle_ != nullptr) ::iconv_close(static_cast<iconv_t>(handle_));
}

bool TextConverter::Ready() const { return handle_ != nullptr; }

bool TextConverter::Gb18030Whole() { return true; }

bool TextConverter::ConvertCharacters(std::string_view characters, std::string& output) {
  const auto converter = static_cast<iconv_t>(handle_);
  char* in = const_cast<char*>(characters.data());  // iconv's signature; it does not write
  std::size_t inLeft = characters.size();
  const std::size_t before = output.size();
  while (inLeft > 0) {
    std::array<char, 4096> buffer;
    char* out = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    const int error = errno;  // before append, which may allocate and change errno
    output.append(buffer.data(), static_cast<std::size_t>(out - buffer.data()));
    if (result == static_cast<std::size_t>(-1) && error != E2BIG) {
      output.resize(before);
      ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
      return false;
    }
  }
  return true;
}

}  // namespace portprobe
