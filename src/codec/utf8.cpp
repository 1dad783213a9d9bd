#include "codec/utf8.h"

namespace portprobe {

namespace {

struct LeadByte {
  std::size_t length;    // bytes of the whole sequence
  unsigned char low;     // range allowed for the second byte; it rules out
  unsigned char high;    // overlong forms, surrogates and code points past U+10FFFF
  char32_t payloadMask;  // bits of the lead byte that belong to the code point
};

// The well-formed sequences of the Unicode standard, by lead byte.
LeadByte ClassifyLead(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF, 0x1F};
  if (lead == 0xE0) return {3, 0xA0, 0xBF, 0x0F};
  if (lead == 0xED) return {3, 0x80, 0x9F, 0x0F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF, 0x0F};
  if (lead == 0xF0) return {4, 0x90, 0xBF, 0x07};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF, 0x07};
  if (lead == 0xF4) return {4, 0x80, 0x8F, 0x07};
  return {0, 0, 0, 0};
}

}  // namespace

Utf8Character DecodeUtf8At(std::string_view text, std::size_t position) {
  const auto lead = static_cast<unsigned char>(text[position]);
  if (lead < 0x80) return {lead, 1};
  const LeadByte kind = ClassifyLead(lead);
  if (kind.length == 0) return {kReplacementCharacter, 1};
  char32_t codePoint = lead & kind.payloadMask;
  for (std::size_t i = 1; i < kind.length; ++i) {
    if (position + i >= text.size()) return {kReplacementCharacter, i};
    const auto next = static_cast<unsigned char>(text[position + i]);
    const unsigned char low = i == 1 ? kind.low : 0x80;
    const unsigned char high = i == 1 ? kind.high : 0xBF;
    if (next < low || next > high) return {kReplacementCharacter, i};
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  return {codePoint, kind.length};
}

}  // namespace portprobe
