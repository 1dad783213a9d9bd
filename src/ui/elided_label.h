#pragma once

#include <QLabel>

namespace portprobe::ui {

// A one-line label that shows a text too long for it with "…" in the middle, so both
// ends stay readable; text() is still the whole text.
class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

  // Only the first `length` characters of the text may lose their middle; the rest
  // is shown whole (a status after a path) unless even it is too long, when it loses
  // its end. -1: the whole text may lose its middle.
  void SetElidableLength(int length);
  // The text as the label's width shows it.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextArea() const;

  int elidableLength_ = -1;
};

}  // namespace portprobe::ui
