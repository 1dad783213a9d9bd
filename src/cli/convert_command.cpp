// portprobe-cli convert dec2hex|hex2dec|hex2bin TEXT: the tools menu's number
// conversions of a text.
#include <optional>
#include <string_view>

#include "cli/cli_command.h"
#include "codec/number_conversion.h"

namespace portprobe::cli {

namespace {

std::optional<ConversionCode> ParseConversion(std::string_view name) {
  if (name == "dec2hex") return ConversionCode::DecimalToHex;
  if (name == "hex2dec") return ConversionCode::HexToDecimal;
  if (name == "hex2bin") return ConversionCode::HexToBinary;
  return std::nullopt;
}

int RunConvertCommand(const std::vector<std::string>& args) {
  const std::optional<ConversionCode> code = args.size() == 2 ? ParseConversion(args[0]) : std::nullopt;
  if (!code) return UsageError(kConvertCommand);
  return PrintResult(ConvertNumber(*code, args[1]) + "\n");
}

}  // namespace

const CliCommand kConvertCommand = {
    "convert",
    "portprobe-cli convert dec2hex|hex2dec|hex2bin TEXT",
    RunConvertCommand,
};

}  // namespace portprobe::cli
