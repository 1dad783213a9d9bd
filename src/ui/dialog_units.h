#pragma once

#include <QFont>
#include <QRect>

#include "ui/dialog_template.h"

namespace portprobe::ui {

// Converts dialog units to pixels with the base units of a font: a horizontal unit
// is a quarter of the font's average character width, a vertical unit an eighth of
// its height. Layouts then scale with the font the way the templates expect.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int ToPixelsX(int dlu) const;
  int ToPixelsY(int dlu) const;
  QRect ToPixels(const DialogRect& rect) const;

 private:
  int baseWidth_;
  int baseHeight_;
};

// The dialog font: a CJK-capable family at the given size, with fallbacks.
QFont DialogFont(int pointSize);
// The same with fixed-pitch Latin letters and digits, for text laid out in columns.
QFont FixedPitchFont(int pointSize);

}  // namespace portprobe::ui
