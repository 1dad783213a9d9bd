// Windows converts GB18030 through its code page 54936, by way of UTF-16.
#include <windows.h>

#include "codec/text_conversion.h"

namespace portprobe {

namespace {

constexpr UINT kGb18030CodePage = 54936;
constexpr UINT kGbkCodePage = 936;

UINT Gb18030CodePage() {
  static const UINT page = ::IsValidCodePage(kGb18030CodePage) ? kGb18030CodePage : kGbkCodePage;
  return page;
}

UINT CodePage(TextEncoding encoding) { return encoding == TextEncoding::Gb18030 ? Gb18030CodePage() : CP_UTF8; }

// Both calls refuse what has no counterpart rather than put in a default character.
bool ToUtf16(UINT codePage, std::string_view text, std::wstring& wide) {
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<std::size_t>(length));
  return ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length) == length;
}

bool FromUtf16(UINT codePage, const std::wstring& wide, std::string& output) {
  const int size = static_cast<int>(wide.size());
  const int length = ::WideCharToMultiByte(codePage, WC_ERR_INVALID_CHARS, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return false;
  const std::size_t before = output.size();
  output.resize(before + static_cast<std::size_t>(length));
  if (::WideCharToMultiByte(codePage, WC_ERR_INVALID_CHARS, wide.data(), size, output.data() + before, length, nullptr,
                            nullptr) != length) {
    output.resize(before);
    return false;
  }
  return true;
}

}  // namespace

TextConverter::TextConverter(TextEncoding from, TextEncoding to) : from_(from), to_(to) {}

TextConverter::~TextConverter() = default;

bool TextConverter::Ready() const { return ::IsValidCodePage(Gb18030CodePage()) != 0; }

bool TextConverter::Gb18030Whole() { return Gb18030CodePage() == kGb18030CodePage; }

bool TextConverter::ConvertCharacters(std::string_view characters, std::string& output) {
  if (characters.empty()) return true;
  std::wstring wide;
  return ToUtf16(CodePage(from_), characters, wide) && FromUtf16(CodePage(to_), wide, output);
}

}  // namespace portprobe
