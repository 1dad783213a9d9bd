#pragma once

class QComboBox;

namespace portprobe::ui {

// Enter in an editable list picks the row whose text was typed (case aside), as
// choosing it would; a text that names no row gives way to the selected row's.
void CommitTypedRow(QComboBox* list);

// Keeps the dropped-down list of `list` wide enough for its longest row, now and as
// rows are added or change; the box itself keeps its size.
void FitDropDownToRows(QComboBox* list);

}  // namespace portprobe::ui
