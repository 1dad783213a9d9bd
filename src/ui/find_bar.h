#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QToolButton;

namespace portprobe::ui {

// A small bar that floats over a text box: a field for text or hex bytes, the choice
// between them, a case toggle for text, next and previous, a line for the outcome and
// a close button. Enter finds the next match, Shift+Enter the previous one, Escape
// closes the bar. The bar only asks; its owner searches and reports back.
class FindBar : public QFrame {
  Q_OBJECT

 public:
  explicit FindBar(QWidget* parent);

  // Shows the bar with the field focused and its text selected, ready to type over.
  void Open();
  QString Pattern() const;
  void SetPattern(const QString& pattern);
  bool IsHex() const;
  void SetHex(bool hex);
  bool MatchesCase() const;
  QString Outcome() const;
  // A short word beside the field: a wrap, a miss, a malformed pattern; empty clears it.
  void ShowOutcome(const QString& text);
  void Close();

 signals:
  void FindNext();
  void FindPrevious();
  // The pattern or how it is read changed.
  void PatternChanged();
  void Closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QToolButton* AddButton(const char* text, const char* tip, bool checkable);

  QLineEdit* field_;
  QToolButton* hex_;
  QToolButton* matchCase_;
  QLabel* outcome_;
};

}  // namespace portprobe::ui
