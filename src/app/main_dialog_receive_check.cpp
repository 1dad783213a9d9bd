// The receive check: every received hex block is marked good or bad by the checksum
// row chosen in the list, and the status line counts the marks.
#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "resources/strings.h"

namespace portprobe {

using namespace resources;

void MainDialog::SetUpReceiveCheck() {
  connect(ComboBox(kChecksumList), &QComboBox::currentIndexChanged, this, &MainDialog::ChecksumRowChanged);
}

void MainDialog::ToggleReceiveCheck() {
  const ChecksumType row = ComboBox(kChecksumList)->currentIndex();
  receive_.SetCheckRow(receive_.CheckOn() ? std::nullopt : std::optional<ChecksumType>(row));
  UpdateStatusLine();
}

// The check follows the list; a row it cannot check with switches it off.
void MainDialog::ChecksumRowChanged(int row) {
  if (!receive_.CheckOn()) return;
  receive_.SetCheckRow(row);
  UpdateStatusLine();
}

QString MainDialog::ReceiveCheckCounts() const {
  if (!receive_.CheckOn()) return {};
  return QString::fromUtf8(kReceiveCheckCountsText).arg(receive_.GoodBlocks()).arg(receive_.BadBlocks());
}

}  // namespace portprobe
