#pragma once

#include <QPushButton>

namespace portprobe::ui {

// A push button whose mnemonic (Alt with the underlined letter) clicks it on the key
// press itself, without taking the focus: Qt's own button first shows a 100 ms
// animated press, which a send by keyboard would wait for, and moves the focus.
class PushButton : public QPushButton {
  Q_OBJECT

 public:
  using QPushButton::QPushButton;

 protected:
  bool event(QEvent* event) override;
};

}  // namespace portprobe::ui
