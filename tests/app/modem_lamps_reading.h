#pragma once

#include <string>

#include "ui/modem_lamps.h"

namespace portprobe::testing {

// The window's lamps CTS, DSR, RI and DCD as the user sees them, one letter each:
// '+' lit, '-' dark, '?' grey; "" when the window has no lamps.
inline std::string LampsReading(const QWidget& window) {
  const auto* lamps = window.findChild<ui::ModemLamps*>();
  if (lamps == nullptr || lamps->isHidden()) return {};
  std::string reading;
  for (int lamp = 0; lamp < ui::ModemLamps::kLampCount; ++lamp) {
    switch (lamps->State(lamp)) {
      case ui::ModemLamps::Lamp::On:
        reading += '+';
        break;
      case ui::ModemLamps::Lamp::Off:
        reading += '-';
        break;
      case ui::ModemLamps::Lamp::Grey:
        reading += '?';
        break;
    }
  }
  return reading;
}

inline QString LampsToolTip(const QWidget& window) {
  const auto* lamps = window.findChild<ui::ModemLamps*>();
  return lamps == nullptr ? QString() : lamps->toolTip();
}

}  // namespace portprobe::testing
