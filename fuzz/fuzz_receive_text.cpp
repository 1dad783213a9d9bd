// The receive path's text: batches of any bytes, formatted in either display and kept
// in a small bounded text, interleaved with edits and clears as the user makes them.
// Hex text decodes back to the batch; character text is the batch without zero bytes;
// the bounded text stays the tail of what was put in, within its limit, with the same
// line index as the same text indexed afresh.
#include <cstdint>
#include <span>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/line_indexed_text.h"
#include "codec/hex_codec.h"
#include "session/receive_formatter.h"
#include "session/received_blocks.h"

namespace {

using portprobe::LineIndexedText;

constexpr std::size_t kLimit = 64 * 1024;

std::vector<std::size_t> Starts(const LineIndexedText& text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.LineCount(); ++i) starts.push_back(text.LineStart(i));
  return starts;
}

void CheckBatchText(std::string_view batch, portprobe::ReceiveDisplay display, const std::string& chunk) {
  if (display == portprobe::ReceiveDisplay::Hex) {
    if (portprobe::ParseHexText(chunk) != portprobe::ByteFrame(batch.begin(), batch.end())) std::abort();
  } else {
    std::string visible(batch);
    std::erase(visible, '\0');
    if (chunk != visible) std::abort();
  }
}

}  // namespace

// Each step: a control byte (bits 0-1 what, bit 2 the display, bits 3-7 the pause
// before it in steps of 16 ms), a length byte, then that many bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  portprobe::ReceiveFormatter formatter;
  portprobe::ReceivedBlocks blocks;
  LineIndexedText text(kLimit);
  std::string reference;
  portprobe::Tick tick = 0xFFFFF000;  // close to the wrap of the 32-bit tick
  std::size_t i = 0;
  while (i + 2 <= size) {
    const std::uint8_t control = data[i];
    const std::size_t length = std::min<std::size_t>(data[i + 1], size - i - 2);
    const std::string_view bytes(reinterpret_cast<const char*>(data + i + 2), length);
    i += 2 + length;
    tick += (control >> 3) * 16u;
    const auto display = control & 4 ? portprobe::ReceiveDisplay::Characters : portprobe::ReceiveDisplay::Hex;
    LineIndexedText::Dropped dropped;
    if ((control & 3) == 1) {
      const std::size_t from = length > 0 ? static_cast<unsigned char>(bytes[0]) % (text.Size() + 1) : 0;
      const std::size_t to = std::min(text.Size(), from + length);
      dropped = text.Replace(from, to, bytes);
      reference.replace(from, to - from, bytes);
    } else if ((control & 3) == 2) {
      text.Clear();
      reference.clear();
      formatter.StartNewLine();
    } else {
      std::string chunk;
      const std::span<const std::uint8_t> batch(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      formatter.Format(batch, blocks.BeginsBlock(tick), portprobe::WallTime(), display, !text.Empty(), chunk);
      blocks.Add(batch, tick, portprobe::WallTime());
      CheckBatchText(bytes, display, chunk);
      dropped = text.Append(chunk);
      reference += chunk;
    }
    reference.erase(0, dropped.bytes);
    if (text.All() != reference || text.Size() > kLimit || formatter.HexLineCount() < 0 ||
        formatter.HexLineCount() > 15) {
      std::abort();
    }
  }
  LineIndexedText rebuilt;
  rebuilt.Append(reference);
  if (Starts(text) != Starts(rebuilt)) std::abort();
  return 0;
}
