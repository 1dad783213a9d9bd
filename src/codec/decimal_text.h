#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace portprobe {

// An unsigned decimal number with optional blanks or tabs around it, as the period
// edit accepts it. Empty when the text is anything else or does not fit 32 bits.
std::optional<std::uint32_t> ParseUnsignedDecimal(std::string_view text);

// The integer at the start of a text in the manner of atoi: leading white space, an
// optional sign, digits; 0 when no digits follow. Values beyond 32 bits saturate.
std::int32_t LeadingInteger(std::string_view text);

}  // namespace portprobe
