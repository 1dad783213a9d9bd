#include "files/send_file.h"

#include <cerrno>
#include <cstring>

#include "common/regular_file.h"
#include "codec/hex_codec.h"

namespace portprobe {

namespace {

constexpr std::size_t kLoadPiece = 511;

// Reads up to `capacity` bytes; false with `error` set when the read fails (a
// directory opens but cannot be read, for instance).
bool ReadPiece(std::FILE* file, char* buffer, std::size_t capacity, std::size_t* count, std::string* error) {
  *count = std::fread(buffer, 1, capacity, file);
  if (std::ferror(file)) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

bool WriteAll(const PortWriter& write, const std::uint8_t* bytes, std::size_t length, FileSendProgress& progress) {
  const std::uint32_t written = length > 0 ? write(bytes, static_cast<std::uint32_t>(length)) : 0;
  progress.bytesWritten += written;
  return written == length;
}

}  // namespace

std::optional<SendFilePreview> LoadSendFileText(const std::string& path, std::string* error) {
  std::optional<RegularFile> file = OpenRegularFile(path, kNoSizeLimit, error);
  if (!file) return std::nullopt;
  SendFilePreview preview{file->size, std::nullopt};
  if (file->size > kSendBoxFileLimit) return preview;
  // A file that grows while it is read is shown up to the limit.
  std::string text;
  char piece[kLoadPiece];
  std::size_t count = 0;
  for (std::uint64_t read = 0; read <= kSendBoxFileLimit; read += count) {
    if (!ReadPiece(file->stream.get(), piece, sizeof piece, &count, error)) return std::nullopt;
    if (count == 0) break;
    text.append(piece, ::strnlen(piece, count));
  }
  preview.text = std::move(text);
  return preview;
}

FileSendOutcome SendFile(const std::string& path, bool hex, const PortWriter& write, FileSendProgress& progress) {
  FileSendOutcome outcome;
  std::optional<RegularFile> file = OpenRegularFile(path, kNoSizeLimit, &outcome.error);
  if (!file) return {FileSendResult::Unreadable, outcome.error};
  HexStreamDecoder decoder;
  char piece[kFileSendPiece];
  std::size_t count = 0;
  while (!progress.cancel) {
    if (!ReadPiece(file->stream.get(), piece, sizeof piece, &count, &outcome.error)) {
      return {FileSendResult::Unreadable, outcome.error};
    }
    if (count == 0) return outcome;
    progress.bytesRead += count;
    if (hex && count == 1 && piece[0] == ' ') return {FileSendResult::LoneSpace, {}};
    bool whole = true;
    if (hex) {
      const ByteFrame frame = decoder.Feed({piece, count});
      whole = WriteAll(write, frame.data(), frame.size(), progress);
    } else {
      whole = WriteAll(write, reinterpret_cast<const std::uint8_t*>(piece), count, progress);
    }
    if (!whole) return {progress.cancel ? FileSendResult::Cancelled : FileSendResult::WriteFailed, {}};
    if (decoder.Stopped()) return outcome;  // the rest of the text is not read as hex
  }
  return {FileSendResult::Cancelled, {}};
}

}  // namespace portprobe
