#pragma once

#include <string>
#include <string_view>

namespace portprobe {

// The tools menu's conversions of the selected text, as their message box shows them.
enum class ConversionCode {
  DecimalToHex = 1,  // "十进制 -> 十六进制"
  HexToDecimal = 2,  // "十进制 <- 十六进制"
  HexToBinary = 6,   // "二进制 <- 十六进制"
};

std::string ConvertNumber(ConversionCode code, std::string_view toolText);

}  // namespace portprobe
