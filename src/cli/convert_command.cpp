// portprobe-cli convert dec2hex|hex2dec|hex2bin TEXT: the tools menu's number
// conversions of a text.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_command.h"
#include "codec/hex_codec.h"
#include "codec/number_conversion.h"
#include "resources/strings.h"

namespace portprobe::cli {

namespace {

std::optional<ConversionCode> ParseConversion(std::string_view name) {
  if (name == "dec2hex") return ConversionCode::DecimalToHex;
  if (name == "hex2dec") return ConversionCode::HexToDecimal;
  if (name == "hex2bin") return ConversionCode::HexToBinary;
  return std::nullopt;
}

constexpr std::size_t kMaxValueBytes = 4;

// Why a decimal text is no 32-bit integer (blanks around, an optional sign, digits), or
// nothing when it is one.
std::optional<std::string> DecimalProblem(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return resources::kNotDecimalCliText;
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (text.front() == '-') value = -value;
  if (error != std::errc() || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return resources::kBeyond32BitsCliText;
  }
  return std::nullopt;
}

// Why a hex text is no value of at most 4 bytes, or nothing when it is one.
std::optional<std::string> HexProblem(std::string_view text) {
  if (const std::optional<HexTextStop> stop = FindHexTextStop(text)) return HexStopText(*stop);
  if (ParseHexText(text).size() > kMaxValueBytes) return resources::kBeyond32BitsCliText;
  return std::nullopt;
}

// The window converts whatever is selected; a script is told when its text is no number.
int RunConvertCommand(const std::vector<std::string>& args) {
  const std::optional<ConversionCode> code = args.size() == 2 ? ParseConversion(args[0]) : std::nullopt;
  if (!code) return UsageError(kConvertCommand);
  const std::optional<std::string> problem =
      *code == ConversionCode::DecimalToHex ? DecimalProblem(args[1]) : HexProblem(args[1]);
  if (problem) return BadInput(kConvertCommand, *problem, args[1]);
  return PrintResult(ConvertNumber(*code, args[1]) + "\n");
}

}  // namespace

const CliCommand kConvertCommand = {
    "convert",
    "portprobe-cli convert dec2hex|hex2dec|hex2bin TEXT",
    RunConvertCommand,
};

}  // namespace portprobe::cli
