#pragma once

#include <QObject>
#include <QTimer>
#include <optional>

#include "codec/sliced_find.h"
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
// Matches in the visible lines are marked; the one found becomes the selection. A
// search runs in slices between the window's other work; a new one replaces it.
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
  void RunSlice(std::size_t budget);
  void Show(const SlicedFind::Outcome& outcome, bool forward);

  ui::PlainTextView* box_;
  QCheckBox* hexDisplay_;
  ui::FindBar* bar_;
  bool opened_ = false;
  // What the bar looks for while it is open and its pattern is sound.
  std::optional<TextSearch> search_;
  // The search under way, and how many bytes the box had dropped when it last ran.
  std::optional<SlicedFind> job_;
  std::size_t droppedSeen_ = 0;
  QTimer sliceTimer_;
};

}  // namespace portprobe
