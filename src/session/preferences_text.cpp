#include "session/preferences_text.h"

#include <array>
#include <charconv>

namespace portprobe {

namespace {

constexpr std::int32_t kMaxFontPointSize = 200;

// The texts of an enumeration's values, in the order of the enumeration.
constexpr std::array<std::string_view, 2> kEncodingNames = {"UTF-8", "GB18030"};
constexpr std::array<std::string_view, 4> kLineEndNames = {"none", "CR", "LF", "CRLF"};
constexpr std::array<std::string_view, 3> kFlowControlNames = {"none", "RTS/CTS", "XON/XOFF"};

// How a field is told as text and read back: the three kinds of field there are.
struct BoolField {
  bool Preferences::*member;
};
struct NumberField {
  std::int32_t Preferences::*member;
  std::int32_t min;
  std::int32_t max;
};
template <typename Enum, std::size_t N>
struct NamedField {
  Enum Preferences::*member;
  const std::array<std::string_view, N>& names;
};

std::string Text(const Preferences& p, BoolField field) { return p.*field.member ? "true" : "false"; }
std::string Text(const Preferences& p, NumberField field) { return std::to_string(p.*field.member); }
template <typename Enum, std::size_t N>
std::string Text(const Preferences& p, NamedField<Enum, N> field) {
  return std::string(field.names[static_cast<std::size_t>(p.*field.member)]);
}

void Read(Preferences& p, BoolField field, const std::string& text) {
  if (text == "true" || text == "false") p.*field.member = text == "true";
}
void Read(Preferences& p, NumberField field, const std::string& text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc() && end == text.data() + text.size() && value >= field.min && value <= field.max) {
    p.*field.member = value;
  }
}
template <typename Enum, std::size_t N>
void Read(Preferences& p, NamedField<Enum, N> field, const std::string& text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (field.names[i] == text) p.*field.member = static_cast<Enum>(i);
  }
}

// Calls `visit(key, field)` for every field of Preferences, in the struct's order.
template <typename Visit>
void ForEachField(Visit&& visit) {
  visit("timestamps", BoolField{&Preferences::timestamps});
  visit("echoSent", BoolField{&Preferences::echoSent});
  visit("encoding", NamedField<TextEncoding, 2>{&Preferences::encoding, kEncodingNames});
  visit("lineEnd", NamedField<SendLineEnd, 4>{&Preferences::lineEnd, kLineEndNames});
  visit("frameGapMilliseconds",
        NumberField{&Preferences::frameGapMilliseconds, Preferences::kMinFrameGap, Preferences::kMaxFrameGap});
  visit("fontPointSize", NumberField{&Preferences::fontPointSize, 0, kMaxFontPointSize});
  visit("autoReconnect", BoolField{&Preferences::autoReconnect});
  visit("rts", BoolField{&Preferences::rts});
  visit("dtr", BoolField{&Preferences::dtr});
  visit("flowControl", NamedField<FlowControl, 3>{&Preferences::flowControl, kFlowControlNames});
}

const std::string kGroup = "preferences/";

}  // namespace

std::vector<SettingText> PreferencesToText(const Preferences& preferences) {
  std::vector<SettingText> texts;
  ForEachField([&](const char* key, auto field) { texts.emplace_back(kGroup + key, Text(preferences, field)); });
  return texts;
}

Preferences PreferencesFromText(const SettingLookup& lookup) {
  Preferences preferences;
  ForEachField([&](const char* key, auto field) {
    if (const std::optional<std::string> text = lookup(kGroup + key)) Read(preferences, field, *text);
  });
  return preferences;
}

}  // namespace portprobe
