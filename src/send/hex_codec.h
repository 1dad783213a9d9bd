#pragma once

#include <cstddef>
#include <limits>
#include <string_view>

#include "common/byte_frame.h"

namespace portprobe {

// Value 0..15 of a hexadecimal digit, or -1 when the byte is not one.
int HexDigitValue(unsigned char c);

// Decodes hex text: groups of exactly two digits, each preceded by any number of
// spaces, CRs or LFs. Decoding ends silently at the first pair that is not a group
// (a lone trailing digit is dropped), or once maxBytes bytes have been produced.
ByteFrame ParseHexText(std::string_view text,
                       std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

}  // namespace portprobe
