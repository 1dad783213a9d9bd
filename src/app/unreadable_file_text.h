#pragma once

#include <QString>
#include <string>

#include "resources/strings.h"

namespace portprobe {

// The message for a file that the user chose and that is not read, with the reason.
inline QString UnreadableFileText(const QString& path, const std::string& reason) {
  return QString::fromUtf8(resources::kUnreadableFileText).arg(path, QString::fromStdString(reason));
}

}  // namespace portprobe
