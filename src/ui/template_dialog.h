#pragma once

#include <QDialog>
#include <QHash>

#include "ui/dialog_template.h"
#include "ui/dialog_units.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;

namespace portprobe::ui {
class PlainTextView;
}

namespace portprobe::ui {

// A dialog built from a template: every control is created at its rectangle
// (converted from dialog units with the dialog font) and reached by its id.
class TemplateDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);

  const DialogUnits& Units() const { return units_; }

  // The control with this id, or nullptr.
  QWidget* Control(int id) const { return controls_.value(id, nullptr); }

  QPushButton* Button(int id) const;
  QCheckBox* CheckBox(int id) const;
  QComboBox* ComboBox(int id) const;
  QLabel* Label(int id) const;
  QLineEdit* Edit(int id) const;
  QPlainTextEdit* MultiLineEdit(int id) const;
  QListView* ListBox(int id) const;
  PlainTextView* TextView(int id) const;

  // Text of a control whatever its kind (caption, edit text, combo text).
  QString ControlText(int id) const;
  void SetControlText(int id, const QString& text);

  // Puts `replacement` in the place of control `id`: same rectangle, same place in the
  // tab order, same id. The old control is deleted.
  void ReplaceControl(int id, QWidget* replacement);

 protected:
  // Enter is the dialog's OK command unless the focused control takes it itself
  // (a push button, or a multi-line edit that wants returns); Escape is Cancel.
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  virtual void EnterPressed() { accept(); }
  virtual void EscapePressed() { reject(); }

 private:
  QWidget* CreateControl(const ControlTemplate& control);
  void PlaceControl(QWidget* widget, const ControlTemplate& control);

  DialogUnits units_;
  QHash<int, QWidget*> controls_;
};

}  // namespace portprobe::ui
