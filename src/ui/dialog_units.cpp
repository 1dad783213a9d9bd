#include "ui/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>

namespace portprobe::ui {

namespace {

// a * b / c rounded to the nearest integer, as dialog-unit mapping has always done.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  return static_cast<int>((product >= 0 ? product + c / 2 : product - c / 2) / c);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // Average width over the 52 Latin letters, rounded.
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseWidth_ = (letters / 26 + 1) / 2;
  baseHeight_ = metrics.height();
}

int DialogUnits::ToPixelsX(int dlu) const { return MulDiv(dlu, baseWidth_, 4); }

int DialogUnits::ToPixelsY(int dlu) const { return MulDiv(dlu, baseHeight_, 8); }

QRect DialogUnits::ToPixels(const DialogRect& rect) const {
  return QRect(ToPixelsX(rect.x), ToPixelsY(rect.y), ToPixelsX(rect.width), ToPixelsY(rect.height));
}

QFont DialogFont(int pointSize) {
  QFont font;
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Noto Sans CJK"), QStringLiteral("Droid Sans Fallback"),
                    QStringLiteral("DejaVu Sans")});
  font.setPointSize(pointSize);
  return font;
}

QFont FixedPitchFont(int pointSize) {
  QFont font;
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei Mono"), QStringLiteral("Noto Sans Mono CJK SC"),
                    QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(pointSize);
  return font;
}

}  // namespace portprobe::ui
