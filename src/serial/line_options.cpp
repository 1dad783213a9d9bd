#include "serial/line_options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace portprobe {

namespace {

// The index in `names` of `value`, or nothing.
template <std::size_t N>
std::optional<std::size_t> IndexOf(const std::array<const char*, N>& names, std::string_view value) {
  const auto found = std::find_if(names.begin(), names.end(), [&](const char* name) { return value == name; });
  if (found == names.end()) return std::nullopt;
  return static_cast<std::size_t>(found - names.begin());
}

// The text of the row of `rows` that `value` names in `names`, or nothing.
template <std::size_t N>
std::optional<std::string> RowText(const std::array<const char*, N>& names, const std::array<const char*, N>& rows,
                                   const std::string& value) {
  const std::optional<std::size_t> index = IndexOf(names, value);
  if (!index) return std::nullopt;
  return rows[*index];
}

std::optional<std::uint32_t> BaudRate(std::string_view text) {
  std::uint32_t rate = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rate);
  if (error != std::errc() || end != text.data() + text.size() || rate == 0) return std::nullopt;
  return rate;
}

std::optional<std::string> BaudText(const std::string& value) {
  const std::optional<std::uint32_t> rate = BaudRate(value);
  if (!rate) return std::nullopt;
  return std::to_string(*rate);
}

// An option: its name, how its value becomes a row's text, and where the text goes.
struct LineOption {
  const char* name;
  std::optional<std::string> (*text)(const std::string& value);
  std::optional<std::string> LineOptions::*field;
};

const LineOption kLineOptions[] = {
    {"--baud", BaudText, &LineOptions::baudText},
    {"--parity", [](const std::string& v) { return RowText(kParityNames, kParityRows, v); }, &LineOptions::parityText},
    {"--data-bits", [](const std::string& v) { return RowText(kDataBitsRows, kDataBitsRows, v); },
     &LineOptions::dataBitsText},
    {"--stop-bits", [](const std::string& v) { return RowText(kStopBitsRows, kStopBitsRows, v); },
     &LineOptions::stopBitsText},
};

const LineOption* FindLineOption(std::string_view name) {
  const auto found = std::find_if(std::begin(kLineOptions), std::end(kLineOptions),
                                  [&](const LineOption& option) { return name == option.name; });
  return found == std::end(kLineOptions) ? nullptr : found;
}

// The row whose text is given, or the row the settings already have.
template <std::size_t N>
int RowOf(const std::array<const char*, N>& rows, const std::optional<std::string>& text, int otherwise) {
  const std::optional<std::size_t> index = text ? IndexOf(rows, *text) : std::nullopt;
  return index ? static_cast<int>(*index) : otherwise;
}

}  // namespace

bool IsLineOption(std::string_view name) { return FindLineOption(name) != nullptr; }

bool SetLineOption(LineOptions& options, std::string_view name, const std::string& value) {
  const LineOption* option = FindLineOption(name);
  if (option == nullptr) return false;
  std::optional<std::string> text = option->text(value);
  if (!text) return false;
  options.*option->field = std::move(text);
  return true;
}

LineSettings ApplyLineOptions(const LineOptions& options, LineSettings settings) {
  if (options.baudText) settings.baudRate = BaudRate(*options.baudText).value_or(settings.baudRate);
  settings.parityRow = RowOf(kParityRows, options.parityText, settings.parityRow);
  settings.dataBitsRow = RowOf(kDataBitsRows, options.dataBitsText, settings.dataBitsRow);
  settings.stopBitsRow = RowOf(kStopBitsRows, options.stopBitsText, settings.stopBitsRow);
  return settings;
}

}  // namespace portprobe
