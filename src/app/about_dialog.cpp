#include "app/about_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "resources/control_ids.h"
#include "resources/dialog_templates.h"

namespace portprobe {

AboutDialog::AboutDialog(QWidget* parent) : TemplateDialog(resources::AboutDialogTemplate(), parent) {
  QLabel* icon = Label(resources::kAboutIcon);
  icon->setPixmap(QIcon(QStringLiteral(":/icons/portprobe.png")).pixmap(icon->size()));
  connect(Button(resources::kAboutOkButton), &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace portprobe
