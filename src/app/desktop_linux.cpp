#include "app/desktop.h"

#include "resources/strings.h"

namespace portprobe::desktop {

// Calculators that desktops commonly install.
std::span<const char* const> Calculators() {
  static constexpr const char* kCalculators[] = {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "xcalc"};
  return kCalculators;
}

const char* CalculatorMissingText() { return resources::kNoCalculatorText; }
const char* HelpFileMissingText() { return resources::kNoHelpFileText; }
const char* HelpViewerMissingText() { return resources::kNoHelpViewerText; }

const char* SettingsPlaceText() {
  return "Settings are remembered in $XDG_CONFIG_HOME/portprobe/portprobe.ini\n"
         "(default ~/.config/portprobe/portprobe.ini).\n";
}

}  // namespace portprobe::desktop
