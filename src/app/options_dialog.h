#pragma once

#include "session/preferences.h"
#include "ui/prompter.h"
#include "ui/template_dialog.h"

namespace portprobe {

// Template 103: the preferences that the tools menu has no entry of its own for
// (encoding, line end, frame gap, flow control). OK takes them only when the frame
// gap is a number in its range; otherwise it says so and the dialog stays open with
// what was typed.
class OptionsDialog : public ui::TemplateDialog {
  Q_OBJECT

 public:
  OptionsDialog(ui::Prompter& prompter, const Preferences& preferences, QWidget* parent = nullptr);

  // The preferences given, with the dialog's choices; complete once it was accepted.
  const Preferences& Chosen() const { return chosen_; }

 protected:
  void EnterPressed() override { TakeChoices(); }

 private:
  void TakeChoices();

  ui::Prompter& prompter_;
  Preferences chosen_;
};

}  // namespace portprobe
