#include "automation/frame_text.h"

#include "automation/trimmed.h"
#include "checksum/checksum_rows.h"
#include "codec/hex_codec.h"
#include "codec/hex_format.h"
#include "codec/utf8.h"
#include "resources/strings.h"

namespace portprobe {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The length of the well-formed multi-byte UTF-8 character at `position`, else 0.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t position) {
  const Utf8Character character = DecodeUtf8At(text, position);
  const bool replaced = character.codePoint == kReplacementCharacter && text.substr(position, 3) != "\xEF\xBF\xBD";
  return replaced ? 0 : character.length;
}

Failure Quoted(std::string_view what, std::string_view word) {
  return Failure{std::string(what) + "\"" + std::string(word) + "\""};
}

// The escape that starts at text[0] (after its backslash): the byte, and how many
// characters it took.
Expected<std::pair<std::uint8_t, std::size_t>> ReadEscape(std::string_view text) {
  if (text.empty()) return Failure{resources::kTextEndsInBackslashReason};
  switch (text[0]) {
    case 'r':
      return std::pair<std::uint8_t, std::size_t>{'\r', 1};
    case 'n':
      return std::pair<std::uint8_t, std::size_t>{'\n', 1};
    case 't':
      return std::pair<std::uint8_t, std::size_t>{'\t', 1};
    case '0':
      return std::pair<std::uint8_t, std::size_t>{0, 1};
    case '\\':
      return std::pair<std::uint8_t, std::size_t>{'\\', 1};
    case '"':
      return std::pair<std::uint8_t, std::size_t>{'"', 1};
    case 'x': {
      const int high = text.size() > 1 ? HexDigitValue(static_cast<unsigned char>(text[1])) : -1;
      const int low = text.size() > 2 ? HexDigitValue(static_cast<unsigned char>(text[2])) : -1;
      if (high < 0 || low < 0) return Quoted(resources::kEscapeNeedsTwoHexDigitsReason, text.substr(0, 3));
      return std::pair<std::uint8_t, std::size_t>{static_cast<std::uint8_t>(high * 16 + low), 3};
    }
    default:
      return Quoted(resources::kUnknownEscapeReason, std::string("\\") + text[0]);
  }
}

// Where the closing quote of text that opens with a quote stands; npos when none.
std::size_t ClosingQuote(std::string_view text) {
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '\\')
      ++i;
    else if (text[i] == '"')
      return i;
  }
  return std::string_view::npos;
}

}  // namespace

Expected<std::optional<int>> ParseChecksumSuffix(std::string_view suffix) {
  suffix = Trimmed(suffix);
  if (suffix.empty()) return std::optional<int>();
  if (suffix.front() != '+') return Quoted(resources::kTextAfterFrameReason, suffix);
  const std::string_view name = Trimmed(suffix.substr(1));
  const std::optional<int> row = BuiltInChecksumNamed(name);
  if (!row) return Quoted(resources::kUnknownChecksumReason, name);
  return std::optional<int>(row);
}

Expected<ByteFrame> ParseStrictHex(std::string_view text) {
  ByteFrame bytes;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return bytes;
    std::size_t end = i;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    const std::string_view word = text.substr(i, end - i);
    const int high = HexDigitValue(static_cast<unsigned char>(word[0]));
    const int low = word.size() == 2 ? HexDigitValue(static_cast<unsigned char>(word[1])) : -1;
    if (high < 0 || low < 0) return Quoted(resources::kNotHexByteReason, word);
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    i = end;
  }
}

Expected<ByteFrame> UnescapeText(std::string_view text) {
  ByteFrame bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes.push_back(static_cast<std::uint8_t>(text[i]));
      continue;
    }
    const auto escape = ReadEscape(text.substr(i + 1));
    if (!escape) return Failure{escape.Reason()};
    bytes.push_back(escape->first);
    i += escape->second;
  }
  return bytes;
}

namespace {

// A C1 control (U+0080 to U+009F) in UTF-8: some terminals act on it as on ESC [.
bool IsC1Control(std::string_view text, std::size_t i) {
  return static_cast<std::uint8_t>(text[i]) == 0xC2 && i + 1 < text.size() &&
         static_cast<std::uint8_t>(text[i + 1]) < 0xA0;
}

std::string Escaped(std::string_view all, bool escapeQuotes) {
  std::string text;
  text.reserve(all.size());
  for (std::size_t i = 0; i < all.size();) {
    const auto byte = static_cast<std::uint8_t>(all[i]);
    const std::size_t sequence = byte >= 0x80 && !IsC1Control(all, i) ? Utf8CharacterLength(all, i) : 0;
    if (sequence > 0) {
      text.append(all.substr(i, sequence));
      i += sequence;
      continue;
    }
    switch (byte) {
      case '\r':
        text += "\\r";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\t':
        text += "\\t";
        break;
      case '\\':
      case '"':
        if (escapeQuotes) text += '\\';
        text += static_cast<char>(byte);
        break;
      default:
        if (byte >= 0x20 && byte < 0x7F) {
          text += static_cast<char>(byte);
        } else {
          text += "\\x" + HexPairs(std::span(&byte, 1));
        }
    }
    ++i;
  }
  return text;
}

}  // namespace

std::string EscapeText(const ByteFrame& bytes) {
  return Escaped({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, true);
}

std::string TerminalSafeText(std::string_view text) { return Escaped(text, false); }

Expected<ByteFrame> ParseFrameText(std::string_view text) {
  const Expected<FrameParts> parts = SplitFrameText(text);
  if (!parts) return Failure{parts.Reason()};
  return BuildFrame(parts->kind, parts->body, parts->checksumRow);
}

Expected<FrameParts> SplitFrameText(std::string_view text) {
  text = Trimmed(text);
  if (text.empty()) return Failure{resources::kNoFrameReason};
  FrameParts parts{FrameKind::Hex, text, std::nullopt};
  std::string_view suffix;
  if (text.front() == '"') {
    const std::size_t close = ClosingQuote(text);
    if (close == std::string_view::npos) return Failure{resources::kTextMissingQuoteReason};
    parts.kind = FrameKind::Text;
    parts.body = text.substr(1, close - 1);
    suffix = text.substr(close + 1);
  } else if (const std::size_t plus = text.find('+'); plus != std::string_view::npos) {
    parts.body = Trimmed(text.substr(0, plus));
    suffix = text.substr(plus);
  }
  const auto checksum = ParseChecksumSuffix(suffix);
  if (!checksum) return Failure{checksum.Reason()};
  parts.checksumRow = *checksum;
  return parts;
}

Expected<ByteFrame> BuildFrame(FrameKind kind, std::string_view body, std::optional<int> checksumRow) {
  Expected<ByteFrame> frame = kind == FrameKind::Hex ? ParseStrictHex(body) : UnescapeText(body);
  if (frame && checksumRow) AppendBuiltInChecksum(*frame, *checksumRow);
  return frame;
}

}  // namespace portprobe
