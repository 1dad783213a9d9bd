#pragma once

#include <QString>

#include "resources/strings.h"

namespace portprobe {

// Filters of the terminal's file dialogs, in the "description|pattern|" form; the
// dialog shows the first one at first.
// A file to send may be of any kind, so all files show by default.
inline const QString kSendFileFilter = QString::fromUtf8(resources::kAllFilesFirstFilterText);
inline const QString kCaptureFileFilter = QString::fromUtf8(resources::kTextFileFilterText);
// History files and parser scripts.
inline const QString kTextOrAnyFileFilter = QString::fromUtf8(resources::kTextFirstFilterText);

}  // namespace portprobe
