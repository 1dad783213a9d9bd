#pragma once

#include "ui/template_dialog.h"

namespace portprobe {

// Template 100: the program's icon, name and version, and an OK button.
class AboutDialog : public ui::TemplateDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace portprobe
