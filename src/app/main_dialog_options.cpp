// The tools menu's entries for the preferences: two toggles, the options dialog and
// the return to the defaults; and the modes that the status line shows.
#include <QAction>
#include <QMenu>

#include "app/main_dialog.h"
#include "app/options_dialog.h"
#include "resources/strings.h"

namespace portprobe {

using namespace resources;

namespace {

enum PreferenceCommandId : int {
  kTimestampsCommand = 5030,
  kEchoSentCommand = 5031,
  kOptionsCommand = 5032,
  kRestoreDefaultsCommand = 5033,
};

constexpr std::int32_t kUsualFrameGap = Preferences().frameGapMilliseconds;

void AddToggle(QMenu& menu, int id, const char* text, bool on) {
  QAction* entry = menu.addAction(QString::fromUtf8(text));
  entry->setData(id);
  entry->setCheckable(true);
  entry->setChecked(on);
}

}  // namespace

void MainDialog::AddPreferenceEntries(QMenu& menu) {
  AddToggle(menu, kTimestampsCommand, kTimestampsEntryText, preferences_.timestamps);
  AddToggle(menu, kEchoSentCommand, kEchoSentEntryText, preferences_.echoSent);
  menu.addAction(QString::fromUtf8(kOptionsEntryText))->setData(kOptionsCommand);
  menu.addAction(QString::fromUtf8(kRestoreDefaultsEntryText))->setData(kRestoreDefaultsCommand);
}

// False when `id` is none of these entries.
bool MainDialog::PreferenceCommand(int id) {
  Preferences changed = preferences_;
  switch (id) {
    case kTimestampsCommand:
      changed.timestamps = !changed.timestamps;
      SetPreferences(changed);
      return true;
    case kEchoSentCommand:
      changed.echoSent = !changed.echoSent;
      SetPreferences(changed);
      return true;
    case kOptionsCommand:
      ShowOptionsDialog();
      return true;
    case kRestoreDefaultsCommand:
      RestoreDefaults();
      return true;
    default:
      return false;
  }
}

void MainDialog::ShowOptionsDialog() {
  OptionsDialog dialog(prompter_, preferences_, this);
  if (prompter_.ExecDialog(dialog) == QDialog::Accepted) SetPreferences(dialog.Chosen());
}

// Every preference that changes what the receive box shows.
QString MainDialog::StatusModesText() const {
  QString modes;
  if (preferences_.timestamps) modes += QString::fromUtf8(kTimestampsModeText);
  if (preferences_.echoSent) modes += QString::fromUtf8(kEchoSentModeText);
  if (preferences_.encoding == TextEncoding::Gb18030) modes += QString::fromUtf8(kGb18030ModeText);
  if (preferences_.frameGapMilliseconds != kUsualFrameGap) {
    modes += QString::fromUtf8(kFrameGapModeText).arg(preferences_.frameGapMilliseconds);
  }
  modes += LiveDecodeModeText();
  return modes;
}

}  // namespace portprobe
