// Settings beyond the window's own controls: each feature reads its field of
// preferences_, and every change goes through SetPreferences.
#include "app/main_dialog.h"

namespace portprobe {

void MainDialog::SetPreferences(const Preferences& preferences) {
  if (preferences == preferences_) return;
  preferences_ = preferences;
  ApplyPreferences();
}

void MainDialog::ApplyPreferences() {
  FollowAutoReconnect();
  ApplyReceivePreferences();
  ApplyModemPreferences();
  UpdateStatusLine();
  ApplyBoxFontSize();
  ApplyConsolePreferences();
  ScheduleSettingsSave();
}

}  // namespace portprobe
