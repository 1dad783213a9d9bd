#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "session/preferences.h"

namespace portprobe {

// One remembered setting: its key in the settings file and its value as text.
using SettingText = std::pair<std::string, std::string>;

// Every field of `preferences` as key and text, in the struct's order.
std::vector<SettingText> PreferencesToText(const Preferences& preferences);

// The stored text of a key, or nothing when the file does not hold it.
using SettingLookup = std::function<std::optional<std::string>(const std::string& key)>;

// Preferences from stored texts. A key that is missing, or whose text is not one of
// its values or out of its range, keeps the default, so a hand-edited or older file
// never gives a setting the window cannot show.
Preferences PreferencesFromText(const SettingLookup& lookup);

}  // namespace portprobe
