#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/byte_frame.h"
#include "common/expected.h"

namespace portprobe {

// How a frame is written in a rules or panel file: hex bytes, or text in double quotes.
enum class FrameKind { Hex, Text };

// Hex bytes separated by blanks, every one exactly two digits ("01 03 0A"); unlike the
// send box, anything else is an error, so a typing mistake in a file is found.
// "??" is no byte here.
Expected<ByteFrame> ParseStrictHex(std::string_view text);

// Text with the escapes \r \n \t \0 \\ \" and \xHH (two hex digits); the other bytes
// stand for themselves.
Expected<ByteFrame> UnescapeText(std::string_view text);
// The inverse: bytes as text that UnescapeText gives back, with control bytes (C1
// controls included), backslashes, quotes and bytes of 0x7F and above that are no part
// of valid UTF-8 escaped.
std::string EscapeText(const ByteFrame& bytes);
// Text read from a file or a device made safe to print on a terminal: escaped as
// EscapeText does, except that backslashes and quotes stay as they are.
std::string TerminalSafeText(std::string_view text);

// A frame as a file writes it: hex bytes or "quoted text", optionally followed by
// "+NAME", the command-line name of a built-in checksum that is appended
// ("01 03 00 00 00 01 +crc16-modbus", "\"AT\\r\\n\"").
Expected<ByteFrame> ParseFrameText(std::string_view text);

// A "+NAME" suffix: the built-in checksum row it names; nothing for an empty suffix.
Expected<std::optional<int>> ParseChecksumSuffix(std::string_view suffix);

// A frame as a file writes it, taken apart without checking its body: the kind, the
// body as written (text without its quotes, escapes kept) and the checksum row.
struct FrameParts {
  FrameKind kind = FrameKind::Hex;
  std::string_view body;
  std::optional<int> checksumRow;
};
Expected<FrameParts> SplitFrameText(std::string_view text);

// The frame of a panel row or rule: its body as the user wrote it (without quotes for
// text), with the checksum row appended when one is given.
Expected<ByteFrame> BuildFrame(FrameKind kind, std::string_view body, std::optional<int> checksumRow);

}  // namespace portprobe
