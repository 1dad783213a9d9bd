#pragma once

#include <QLabel>

namespace portprobe::ui {

// A one-line label that shows a text too long for it with "…" in the middle, so both
// ends stay readable; text() is still the whole text.
class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace portprobe::ui
