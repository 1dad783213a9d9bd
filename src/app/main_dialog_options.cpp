// The options dialog, and the modes that the status line shows.
#include <QAction>
#include <QMenu>

#include "app/main_dialog.h"
#include "app/options_dialog.h"
#include "resources/strings.h"

namespace portprobe {

using namespace resources;

void MainDialog::ShowOptionsDialog() {
  OptionsDialog dialog(prompter_, preferences_, this);
  if (prompter_.ExecDialog(dialog) == QDialog::Accepted) SetPreferences(dialog.Chosen());
}

// Every preference that changes what the receive box shows, the encoding as it is
// applied.
// What stands in for a chosen encoding that the system lacks, or nothing.
QString MainDialog::EncodingNotice() const {
  if (preferences_.encoding != TextEncoding::Gb18030 || !GbkStandsInForGb18030()) return {};
  return QString::fromUtf8(kGbkStandsInText);
}

QString MainDialog::StatusModesText() const {
  QString modes;
  if (preferences_.timestamps) modes += QString::fromUtf8(kTimestampsModeText);
  if (preferences_.echoSent) modes += QString::fromUtf8(kEchoSentModeText);
  if (preferences_.encoding == TextEncoding::Gb18030) {
    modes += QString::fromUtf8(kEncodingModeText).arg(QLatin1StringView(AppliedEncodingName(preferences_.encoding)));
  }
  if (preferences_.frameGapMilliseconds != kDefaultFrameGapMilliseconds) {
    modes += QString::fromUtf8(kFrameGapModeText).arg(preferences_.frameGapMilliseconds);
  }
  modes += LiveDecodeModeText();
  return modes;
}

}  // namespace portprobe
