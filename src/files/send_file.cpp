#include "files/send_file.h"

#include <cerrno>
#include <cstring>

#include "common/regular_file.h"
#include "codec/hex_codec.h"

namespace portprobe {

namespace {

constexpr std::size_t kLoadPiece = 511;

// The count of bytes read, up to `capacity`, or why the read failed.
Expected<std::size_t> ReadPiece(std::FILE* file, char* buffer, std::size_t capacity) {
  const std::size_t count = std::fread(buffer, 1, capacity, file);
  if (std::ferror(file)) return Failure{std::strerror(errno)};
  return count;
}

bool WriteAll(const PortWriter& write, std::span<const std::uint8_t> bytes, FileSendProgress& progress) {
  const std::size_t written = bytes.empty() ? 0 : write(bytes);
  progress.bytesWritten += written;
  return written == bytes.size();
}

}  // namespace

Expected<SendFilePreview> LoadSendFileText(const std::string& path) {
  Expected<RegularFile> file = OpenRegularFile(path, kNoSizeLimit);
  if (!file) return Failure{file.Reason()};
  SendFilePreview preview{file->size, std::nullopt};
  if (file->size > kSendBoxFileLimit) return preview;
  // A file that grows while it is read is shown up to the limit.
  std::string text;
  char piece[kLoadPiece];
  for (std::uint64_t read = 0; read <= kSendBoxFileLimit;) {
    const Expected<std::size_t> count = ReadPiece(file->stream.get(), piece, sizeof piece);
    if (!count) return Failure{count.Reason()};
    if (*count == 0) break;
    text.append(piece, ::strnlen(piece, *count));
    read += *count;
  }
  preview.text = std::move(text);
  return preview;
}

FileSendOutcome SendFile(const std::string& path, bool hex, const PortWriter& write, FileSendProgress& progress) {
  Expected<RegularFile> file = OpenRegularFile(path, kNoSizeLimit);
  if (!file) return {FileSendResult::Unreadable, file.Reason(), {}};
  HexStreamDecoder decoder;
  char piece[kFileSendPiece];
  while (!progress.cancel) {
    const Expected<std::size_t> read = ReadPiece(file->stream.get(), piece, sizeof piece);
    if (!read) return {FileSendResult::Unreadable, read.Reason(), {}};
    const std::size_t count = *read;
    if (count == 0) return {FileSendResult::Sent, {}, decoder.Stop()};
    progress.bytesRead += count;
    if (hex && count == 1 && piece[0] == ' ') return {FileSendResult::LoneSpace, {}, {}};
    bool whole = true;
    if (hex) {
      const ByteFrame frame = decoder.Feed({piece, count});
      whole = WriteAll(write, frame, progress);
    } else {
      whole = WriteAll(write, {reinterpret_cast<const std::uint8_t*>(piece), count}, progress);
    }
    if (!whole) return {progress.cancel ? FileSendResult::Cancelled : FileSendResult::WriteFailed, {}, {}};
    if (decoder.Stopped()) return {FileSendResult::Sent, {}, decoder.Stop()};  // the rest is not read as hex
  }
  return {FileSendResult::Cancelled, {}, {}};
}

}  // namespace portprobe
