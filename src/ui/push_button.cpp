#include "ui/push_button.h"

#include <QShortcutEvent>

namespace portprobe::ui {

// The only shortcut a button registers is its mnemonic. It acts and leaves the focus
// where it was, so the keys typed next still reach the box the user types in. An
// ambiguous one (two buttons with one letter) keeps Qt's handling, which moves the
// focus between them.
bool PushButton::event(QEvent* event) {
  if (event->type() != QEvent::Shortcut || static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
    return QPushButton::event(event);
  }
  click();
  return true;
}

}  // namespace portprobe::ui
