#pragma once

namespace portprobe {

// True for bytes that can only continue a UTF-8 sequence (10xxxxxx).
inline bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace portprobe
