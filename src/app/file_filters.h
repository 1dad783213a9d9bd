#pragma once

#include <QString>

namespace portprobe {

// Filters of the terminal's file dialogs, in the "description|pattern|" form; the
// dialog shows the first one at first.
// A file to send may be of any kind, so all files show by default.
inline const QString kSendFileFilter = QStringLiteral("所有文件|*|文本文件|*.txt|");
inline const QString kCaptureFileFilter = QStringLiteral("文本文件|*.txt|");
// History files and parser scripts.
inline const QString kTextOrAnyFileFilter = QStringLiteral("文本文件|*.txt|所有文件|*|");

}  // namespace portprobe
