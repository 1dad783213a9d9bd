// Zoom of both text boxes: Ctrl+wheel over either, Ctrl+= (or Ctrl++) and Ctrl+-, and
// Ctrl+0 back to the window's own size. The size is a preference, so it is remembered.
#include <QShortcut>
#include <algorithm>

#include "app/main_dialog.h"
#include "ui/dialog_units.h"
#include "ui/plain_text_view.h"

namespace portprobe {

namespace {

constexpr int kMinBoxPoints = 6;
constexpr int kMaxBoxPoints = 48;

}  // namespace

void MainDialog::SetUpZoom() {
  const auto addShortcut = [this](QKeyCombination keys, auto action) {
    connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, action);
  };
  addShortcut(Qt::CTRL | Qt::Key_Equal, [this] { Zoom(1); });
  addShortcut(Qt::CTRL | Qt::Key_Plus, [this] { Zoom(1); });
  addShortcut(Qt::CTRL | Qt::Key_Minus, [this] { Zoom(-1); });
  addShortcut(Qt::CTRL | Qt::Key_0, [this] {
    Preferences preferences = preferences_;
    preferences.fontPointSize = 0;
    SetPreferences(preferences);
  });
  for (ui::PlainTextView* box : {ReceiveBox(), SendBox()}) {
    connect(box, &ui::PlainTextView::ZoomStepped, this, &MainDialog::Zoom);
  }
}

int MainDialog::BoxFontPointSize() const {
  if (preferences_.fontPointSize <= 0) return font().pointSize();
  return std::clamp(preferences_.fontPointSize, kMinBoxPoints, kMaxBoxPoints);
}

void MainDialog::Zoom(int steps) {
  Preferences preferences = preferences_;
  preferences.fontPointSize = std::clamp(BoxFontPointSize() + steps, kMinBoxPoints, kMaxBoxPoints);
  SetPreferences(preferences);
}

// Both boxes keep a fixed-pitch font, so hex columns stay in line at every size.
void MainDialog::ApplyBoxFontSize() {
  const QFont font = ui::FixedPitchFont(BoxFontPointSize());
  ReceiveBox()->setFont(font);
  SendBox()->setFont(font);
}

}  // namespace portprobe
