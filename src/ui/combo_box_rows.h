#pragma once

#include <Qt>

class QComboBox;

namespace portprobe::ui {

// Enter in an editable list picks the row whose text was typed (case aside), as
// choosing it would; a text that names no row gives way to the selected row's.
void CommitTypedRow(QComboBox* list);

// Keeps the dropped-down list of `list` wide enough for its longest row, now and as
// rows are added or change; the box itself keeps its size.
void FitDropDownToRows(QComboBox* list);

// A row's text for the closed box, where its whole text would be cut.
inline constexpr int kShortTextRole = Qt::UserRole + 1;

// The closed `list` shows its current row's short text where the row has one; the
// dropped-down list still shows every row whole.
void ShowShortTextWhenClosed(QComboBox* list);

}  // namespace portprobe::ui
