#pragma once

#include <QString>
#include <chrono>
#include <functional>

#include "ui/prompter.h"

namespace portprobe {

// Waits until finished() holds while the window keeps painting; user input is held
// back until the wait ends, as for any busy window. Every `offerAfter` the user is
// asked, with the text that `stillRunning` gives at the time, whether to stop.
// Returns true when the job finished, false when the user chose to stop it.
bool WaitResponsively(QWidget* parent, ui::Prompter& prompter, const std::function<QString()>& stillRunning,
                      const std::function<bool()>& finished,
                      std::chrono::milliseconds offerAfter = std::chrono::seconds(1));

}  // namespace portprobe
