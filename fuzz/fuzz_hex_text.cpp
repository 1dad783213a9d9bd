// Hex text: whatever ParseHexText decodes, FormatHexBytes writes back as text that
// decodes to the same bytes; decoding in pieces gives what decoding at once gives.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "codec/hex_format.h"
#include "codec/hex_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const portprobe::ByteFrame frame = portprobe::ParseHexText(text);
  if (portprobe::ParseHexText(portprobe::FormatHexBytes(frame)) != frame) std::abort();

  // Split where the first byte says, as a file read in pieces would be.
  const std::size_t cut = size > 0 ? data[0] % (size + 1) : 0;
  portprobe::HexStreamDecoder decoder;
  portprobe::ByteFrame pieces = decoder.Feed(text.substr(0, cut));
  const portprobe::ByteFrame rest = decoder.Feed(text.substr(cut));
  pieces.insert(pieces.end(), rest.begin(), rest.end());
  if (pieces != frame) std::abort();
  return 0;
}
