#pragma once

#include <QString>
#include <string>

namespace portprobe {

// The message for a file that the user chose and that is not read, with the reason.
inline QString UnreadableFileText(const QString& path, const std::string& reason) {
  return QStringLiteral("无法读取文件%1: %2").arg(path, QString::fromStdString(reason));
}

}  // namespace portprobe
