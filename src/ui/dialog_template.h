#pragma once

#include <vector>

namespace portprobe::ui {

// Kinds of controls a dialog template can hold.
enum class ControlKind {
  PushButton,
  CheckBox,
  ComboBox,  // drop-down with an edit field; only its selected row is read
  Label,
  BorderedLabel,
  GroupBox,
  Edit,           // single-line edit
  MultiLineEdit,  // both scroll bars, no wrapping
  Icon,
  ListBox,
};

// Control flags beyond the kind.
enum ControlStyle : unsigned {
  kStyleNone = 0,
  kStyleWantReturn = 1u << 0,  // multi-line edit: Enter makes a new line
  kStyleReadOnly = 1u << 1,
  kStyleDropDownList = 1u << 2,  // combo box: rows can only be picked, not typed
  kStyleElideMiddle = 1u << 3,   // label: a text too long for it loses its middle
};

// A rectangle in dialog units.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Id of controls that no code addresses (plain labels).
inline constexpr int kNoControlId = -1;

struct ControlTemplate {
  int id = kNoControlId;
  ControlKind kind = ControlKind::Label;
  const char* caption = "";  // UTF-8; "&" marks a mnemonic, "&&" a literal ampersand
  DialogRect rect;
  unsigned style = kStyleNone;
};

// A dialog as data: caption, font size, size in dialog units and the controls in
// tab order. The layer in template_dialog.h turns it into widgets.
struct DialogTemplate {
  int id = 0;
  const char* caption = "";
  int fontPointSize = 10;
  int width = 0;
  int height = 0;
  bool resizable = false;
  bool minMaxButtons = false;
  std::vector<ControlTemplate> controls;
};

}  // namespace portprobe::ui
