// GB18030 bytes decoded in pieces: any cut gives what decoding at once gives, the text
// is well-formed UTF-8, and encoding it again gives the bytes back where they formed
// characters.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/text_encoding.h"
#include "codec/utf8.h"

namespace {

using portprobe::TextEncoding;

bool WellFormedUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const portprobe::Utf8Character character = portprobe::DecodeUtf8At(text, i);
    if (character.codePoint == portprobe::kReplacementCharacter && text.compare(i, 3, "\xEF\xBF\xBD") != 0) {
      return false;
    }
    i += character.length;
  }
  return true;
}

}  // namespace

// First byte: where the bytes after it are cut into two reads.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::span<const std::uint8_t> bytes(data + 1, size - 1);
  const std::size_t cut = data[0] % (bytes.size() + 1);
  const std::string whole = portprobe::DecodeText(bytes, TextEncoding::Gb18030);
  portprobe::TextDecoder decoder(TextEncoding::Gb18030);
  std::string pieces;
  decoder.Decode(bytes.first(cut), pieces);
  decoder.Decode(bytes.subspan(cut), pieces);
  decoder.Finish(pieces);
  if (pieces != whole || !WellFormedUtf8(whole)) std::abort();
  // Text without replacements came from characters only, which encode back to the bytes.
  if (whole.find("\xEF\xBF\xBD") == std::string::npos &&
      portprobe::EncodeText(whole, TextEncoding::Gb18030) !=
          std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())) {
    std::abort();
  }
  return 0;
}
