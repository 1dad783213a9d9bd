#include "codec/number_conversion.h"

#include <cstdint>
#include <cstdio>

#include "codec/decimal_text.h"
#include "codec/hex_codec.h"

namespace portprobe {

namespace {

// The hex digits shown grow with the length of the text: two per two characters,
// at least two and at most eight; larger values show all their digits.
std::string DecimalToHex(std::string_view text) {
  const auto value = static_cast<std::uint32_t>(LeadingInteger(text));
  const int width = static_cast<int>(std::min<std::size_t>(std::max<std::size_t>(text.size() / 2, 1), 4)) * 2;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", width, value);
  return buffer;
}

// The decoded bytes fill the value from its most significant byte down.
std::uint32_t LeadingBytesValue(const ByteFrame& bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | (i < bytes.size() ? bytes[i] : 0);
  return value;
}

std::string HexToBinary(const ByteFrame& bytes, std::uint32_t value) {
  std::string text;
  char group[4];
  for (std::size_t i = 0; i < std::max<std::size_t>(bytes.size(), 1); ++i) {
    std::snprintf(group, sizeof group, i == 0 ? "%02X" : " %02X", i < bytes.size() ? bytes[i] : 0);
    text += group;
  }
  text += " -> ";
  for (std::size_t bit = 0; bit < 8 * bytes.size(); ++bit) {
    text += (value >> (31 - bit)) & 1 ? '1' : '0';
    if (bit % 4 == 3) text += ' ';
  }
  return text;
}

}  // namespace

std::string ConvertNumber(ConversionCode code, std::string_view toolText) {
  if (code == ConversionCode::DecimalToHex) return DecimalToHex(toolText);
  const ByteFrame bytes = ParseHexText(toolText.substr(0, 16), 4);
  const std::uint32_t value = LeadingBytesValue(bytes);
  if (code == ConversionCode::HexToDecimal) return std::to_string(static_cast<std::int32_t>(value));
  return HexToBinary(bytes, value);
}

}  // namespace portprobe
