#pragma once

#include "ui/dialog_template.h"

namespace portprobe::resources {

// The terminal's dialogs as data.
const ui::DialogTemplate& MainDialogTemplate();    // 102, the main window
const ui::DialogTemplate& AboutDialogTemplate();   // 100
const ui::DialogTemplate& HistoryPopupTemplate();  // 131
const ui::DialogTemplate& OptionsDialogTemplate();  // 103

}  // namespace portprobe::resources
