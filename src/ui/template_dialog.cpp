#include "ui/template_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/elided_label.h"
#include "ui/plain_text_view.h"
#include "ui/push_button.h"

namespace portprobe::ui {

namespace {

bool IsEnterKey(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QPlainTextEdit* CreateMultiLineEdit(const ControlTemplate& control, QWidget* parent) {
  auto* edit = new QPlainTextEdit(QString::fromUtf8(control.caption), parent);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit->setReadOnly(control.style & kStyleReadOnly);
  edit->setTabChangesFocus(true);
  return edit;
}

QComboBox* CreateComboBox(const ControlTemplate& control, QWidget* parent, const DialogUnits& units) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(!(control.style & kStyleDropDownList));
  combo->setInsertPolicy(QComboBox::NoInsert);
  // The template height is that of the dropped-down list.
  const int rowHeight = combo->fontMetrics().height() + 2;
  combo->setMaxVisibleItems(qMax(1, units.ToPixelsY(control.rect.height) / rowHeight - 1));
  return combo;
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), units_(DialogFont(dialogTemplate.fontPointSize)) {
  setFont(DialogFont(dialogTemplate.fontPointSize));
  setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
  Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (dialogTemplate.minMaxButtons) flags |= Qt::WindowMinMaxButtonsHint;
  setWindowFlags(flags);
  setSizeGripEnabled(false);
  const QSize size(units_.ToPixelsX(dialogTemplate.width), units_.ToPixelsY(dialogTemplate.height));
  resize(size);
  if (!dialogTemplate.resizable) setFixedSize(size);

  QWidget* previous = nullptr;
  for (const ControlTemplate& control : dialogTemplate.controls) {
    QWidget* widget = CreateControl(control);
    PlaceControl(widget, control);
    if (control.id != kNoControlId) controls_.insert(control.id, widget);
    if (widget->focusPolicy() != Qt::NoFocus) {
      if (previous != nullptr) setTabOrder(previous, widget);
      previous = widget;
    }
  }
}

QWidget* TemplateDialog::CreateControl(const ControlTemplate& control) {
  const QString caption = QString::fromUtf8(control.caption);
  switch (control.kind) {
    case ControlKind::PushButton: {
      auto* button = new PushButton(caption, this);
      button->setAutoDefault(true);
      return button;
    }
    case ControlKind::CheckBox:
      return new QCheckBox(caption, this);
    case ControlKind::ComboBox:
      return CreateComboBox(control, this, units_);
    case ControlKind::Label:
      if (control.style & kStyleElideMiddle) return new ElidedLabel(caption, this);
      return new QLabel(caption, this);
    case ControlKind::BorderedLabel: {
      QLabel* label = control.style & kStyleElideMiddle ? new ElidedLabel(caption, this) : new QLabel(caption, this);
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      return label;
    }
    case ControlKind::GroupBox: {
      auto* group = new QGroupBox(caption, this);
      group->setFocusPolicy(Qt::NoFocus);
      return group;
    }
    case ControlKind::Edit:
      return new QLineEdit(caption, this);
    case ControlKind::MultiLineEdit: {
      QPlainTextEdit* edit = CreateMultiLineEdit(control, this);
      // Without "want return" Enter belongs to the dialog.
      if (!(control.style & kStyleWantReturn)) edit->installEventFilter(this);
      return edit;
    }
    case ControlKind::Icon: {
      auto* icon = new QLabel(this);
      icon->setAlignment(Qt::AlignCenter);
      return icon;
    }
    case ControlKind::ListBox:
      return new QListView(this);
  }
  return new QWidget(this);
}

void TemplateDialog::PlaceControl(QWidget* widget, const ControlTemplate& control) {
  QRect rect = units_.ToPixels(control.rect);
  if (control.kind == ControlKind::ComboBox) rect.setHeight(widget->sizeHint().height());
  widget->setGeometry(rect);
  // A group box only frames what lies on it; it must never cover those controls.
  if (control.kind == ControlKind::GroupBox) widget->lower();
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
  if (IsEnterKey(event)) {
    EnterPressed();
  } else if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    EscapePressed();
  } else {
    QDialog::keyPressEvent(event);
  }
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event) {
  if (IsEnterKey(event)) {
    EnterPressed();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

QPushButton* TemplateDialog::Button(int id) const { return qobject_cast<QPushButton*>(Control(id)); }
QCheckBox* TemplateDialog::CheckBox(int id) const { return qobject_cast<QCheckBox*>(Control(id)); }
QComboBox* TemplateDialog::ComboBox(int id) const { return qobject_cast<QComboBox*>(Control(id)); }
QLabel* TemplateDialog::Label(int id) const { return qobject_cast<QLabel*>(Control(id)); }
QLineEdit* TemplateDialog::Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
QPlainTextEdit* TemplateDialog::MultiLineEdit(int id) const { return qobject_cast<QPlainTextEdit*>(Control(id)); }
QListView* TemplateDialog::ListBox(int id) const { return qobject_cast<QListView*>(Control(id)); }
PlainTextView* TemplateDialog::TextView(int id) const { return qobject_cast<PlainTextView*>(Control(id)); }

QString TemplateDialog::ControlText(int id) const {
  QWidget* widget = Control(id);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) return edit->toPlainText();
  if (auto* view = qobject_cast<PlainTextView*>(widget)) return view->ToPlainText();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  return {};
}

void TemplateDialog::SetControlText(int id, const QString& text) {
  QWidget* widget = Control(id);
  if (auto* button = qobject_cast<QAbstractButton*>(widget))
    button->setText(text);
  else if (auto* label = qobject_cast<QLabel*>(widget))
    label->setText(text);
  else if (auto* edit = qobject_cast<QLineEdit*>(widget))
    edit->setText(text);
  else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
    edit->setPlainText(text);
  else if (auto* view = qobject_cast<PlainTextView*>(widget))
    view->SetText(text.toStdString());
  else if (auto* combo = qobject_cast<QComboBox*>(widget))
    combo->setEditText(text);
}

void TemplateDialog::ReplaceControl(int id, QWidget* replacement) {
  QWidget* old = Control(id);
  replacement->setParent(this);
  replacement->setGeometry(old->geometry());
  setTabOrder(old, replacement);
  replacement->setVisible(old->isVisibleTo(this));
  controls_.insert(id, replacement);
  delete old;
}

}  // namespace portprobe::ui
