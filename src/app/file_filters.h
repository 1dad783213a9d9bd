#pragma once

#include <QString>

namespace portprobe {

// Filters of the terminal's file dialogs, in the "description|pattern|" form.
inline const QString kSendFileFilter = QStringLiteral("文本文件(*.txt)|*.txt|All Files (*.*)|*.*| |");
inline const QString kCaptureFileFilter = QStringLiteral("文本文件(*.txt)|*.txt| |");
// History files and parser scripts.
inline const QString kTextOrAnyFileFilter = QStringLiteral("文本文件(*.txt)|*.txt|All Files|*.*||");

}  // namespace portprobe
