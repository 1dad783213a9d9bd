#include "codec/text_encoding.h"

#include "codec/text_conversion.h"

namespace portprobe {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

bool EncodingAvailable(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 ||
         (TextConverter(TextEncoding::Utf8, encoding).Ready() && TextConverter::Gb18030Whole());
}

bool GbkStandsInForGb18030() {
  return !TextConverter::Gb18030Whole() && TextConverter(TextEncoding::Utf8, TextEncoding::Gb18030).Ready();
}

std::string_view AppliedEncodingName(TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return "UTF-8";
  return GbkStandsInForGb18030() ? "GBK" : "GB18030";
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return std::string(utf8);
  TextConverter converter(TextEncoding::Utf8, encoding);
  // Without the encoding there is nothing better to send than the text as it stands.
  if (!converter.Ready()) return std::string(utf8);
  std::string bytes;
  bytes.reserve(utf8.size());
  const std::size_t unfinished = ConvertText(converter, TextEncoding::Utf8, utf8, OnInvalid::Copy, bytes);
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

TextDecoder::~TextDecoder() = default;

void TextDecoder::SetEncoding(TextEncoding encoding) {
  if (encoding == encoding_) return;
  converter_.reset();
  encoding_ = encoding;
}

bool TextDecoder::ConverterReady() {
  if (encoding_ != TextEncoding::Utf8 && converter_ == nullptr) {
    auto opened = std::make_unique<TextConverter>(encoding_, TextEncoding::Utf8);
    if (opened->Ready()) converter_ = std::move(opened);
  }
  return converter_ != nullptr;
}

void TextDecoder::Decode(std::span<const std::uint8_t> bytes, std::string& utf8) {
  // UTF-8, or an encoding the system lacks: the bytes as they are.
  if (!ConverterReady()) {
    utf8 += TakeHeld();
    utf8.append(bytes.begin(), bytes.end());
    return;
  }
  held_.append(bytes.begin(), bytes.end());
  const std::size_t unfinished = ConvertText(*converter_, encoding_, held_, OnInvalid::Replace, utf8);
  held_.erase(0, held_.size() - unfinished);
}

void TextDecoder::Finish(std::string& utf8) {
  if (!held_.empty()) utf8 += kReplacement;
  held_.clear();
}

}  // namespace portprobe
