#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "codec/hex_codec.h"
#include "common/expected.h"

namespace portprobe {

// The send box shows the text of a chosen send file up to this size; a larger file is
// only sent, from the disk, in pieces.
inline constexpr std::uint64_t kSendBoxFileLimit = 1 << 20;

struct SendFilePreview {
  std::uint64_t size = 0;
  std::optional<std::string> text;  // none for a file over kSendBoxFileLimit
};

// What the send box shows for a chosen send file: the file read in pieces of 511
// bytes, each piece cut at its first zero byte. A Failure when the file is no regular
// file or cannot be read.
Expected<SendFilePreview> LoadSendFileText(const std::string& path);

// Shared between a file send and the window that watches it.
struct FileSendProgress {
  std::atomic<std::uint64_t> bytesRead{0};
  std::atomic<std::uint64_t> bytesWritten{0};
  std::uint64_t fileSize = 0;
  std::atomic<bool> cancel{false};
};

enum class FileSendResult {
  Sent,
  Cancelled,
  LoneSpace,    // in hexadecimal mode a piece of the file was a single space
  Unreadable,   // the file could not be opened or read
  WriteFailed,  // the port took fewer bytes than it was given
};

struct FileSendOutcome {
  FileSendResult result = FileSendResult::Sent;
  std::string error;  // why the file could not be read
  std::optional<HexTextStop> hexStop;  // where a hex file stopped being hex
};

// Writes one piece to the port and returns the count written.
using PortWriter = std::function<std::size_t(std::span<const std::uint8_t> bytes)>;

inline constexpr std::size_t kFileSendPiece = 4096;

// Sends a file from the disk: in character mode byte for byte, in hexadecimal mode as
// hex text decoded as one stream, so a byte group that a read boundary cuts is still
// sent. progress.bytesWritten counts the bytes that reached the port.
FileSendOutcome SendFile(const std::string& path, bool hex, const PortWriter& write, FileSendProgress& progress);

}  // namespace portprobe
