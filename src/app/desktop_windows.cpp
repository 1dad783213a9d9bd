#include "app/desktop.h"

#include "resources/strings.h"

namespace portprobe::desktop {

// The system's own calculator.
std::span<const char* const> Calculators() {
  static constexpr const char* kCalculators[] = {"calc.exe"};
  return kCalculators;
}

const char* CalculatorMissingText() { return resources::kNoCalculatorWindowsText; }
const char* HelpFileMissingText() { return resources::kNoHelpFileWindowsText; }
const char* HelpViewerMissingText() { return resources::kNoHelpViewerWindowsText; }

const char* SettingsPlaceText() { return "Settings are remembered in %LOCALAPPDATA%\\portprobe\\portprobe.ini.\n"; }

}  // namespace portprobe::desktop
