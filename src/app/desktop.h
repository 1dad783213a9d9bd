#pragma once

#include <span>

namespace portprobe::desktop {

// What the user's desktop offers, which differs between the systems
// (desktop_<system>.cpp).

// Calculators to start from the tools menu, in order of preference.
std::span<const char* const> Calculators();
// What to say when none of them is there, when the help file is missing (%1: its
// path) and when nothing opens it (%1: its path).
const char* CalculatorMissingText();
const char* HelpFileMissingText();
const char* HelpViewerMissingText();
// Where the settings file lives, for --help: whole lines.
const char* SettingsPlaceText();

}  // namespace portprobe::desktop
