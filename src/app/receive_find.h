#pragma once

#include <QObject>
#include <optional>

#include "codec/text_search.h"

class QCheckBox;
class QWidget;

namespace portprobe {

namespace ui {
class FindBar;
class PlainTextView;
}  // namespace ui

// The find bar of the receive box: Ctrl+F opens it in a strip at the bottom of the
// box, Enter and F3 find the next match, Shift+Enter and Shift+F3 the previous one.
// Matches in the visible lines are marked; the one found becomes the selection.
class ReceiveFind : public QObject {
  Q_OBJECT

 public:
  // `window` takes the shortcuts and holds the bar; `hexDisplay` says how the box
  // shows its bytes.
  ReceiveFind(QWidget* window, ui::PlainTextView* box, QCheckBox* hexDisplay);

  void Open();
  // Escape: false when the bar was not open.
  bool Close();
  // Follows the box after the window's layout changed.
  void Place();
  void Find(bool forward);

 private:
  void TakeSelectionAsPattern();
  void Closed();
  // What the bar's pattern and toggles ask for; nothing for an empty or bad pattern.
  std::optional<TextSearch> BarSearch() const;
  void Refresh();
  bool HexDisplay() const;

  ui::PlainTextView* box_;
  QCheckBox* hexDisplay_;
  ui::FindBar* bar_;
  bool opened_ = false;
  // What the bar looks for while it is open and its pattern is sound.
  std::optional<TextSearch> search_;
};

}  // namespace portprobe
