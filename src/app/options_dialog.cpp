#include "app/options_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "codec/decimal_text.h"
#include "codec/text_encoding.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "resources/strings.h"

namespace portprobe {

using namespace resources;

namespace {

template <typename Rows>
void FillRows(QComboBox* list, const Rows& rows, int selected) {
  for (const char* row : rows) list->addItem(QString::fromUtf8(row));
  list->setCurrentIndex(selected);
}

// A row names the encoding that choosing it applies: GBK where it stands in for GB18030.
void ShowAppliedEncoding(QComboBox& list) {
  const int row = static_cast<int>(TextEncoding::Gb18030);
  if (!GbkStandsInForGb18030()) return;
  list.setItemText(row, QString::fromUtf8(AppliedEncodingName(TextEncoding::Gb18030).data()));
  list.setItemData(row, QString::fromUtf8(kGbkStandsInText), Qt::ToolTipRole);
  list.setToolTip(QString::fromUtf8(kGbkStandsInText));
}

}  // namespace

OptionsDialog::OptionsDialog(ui::Prompter& prompter, const Preferences& preferences, QWidget* parent)
    : TemplateDialog(OptionsDialogTemplate(), parent), prompter_(prompter), chosen_(preferences) {
  FillRows(ComboBox(kEncodingList), kEncodingRows, static_cast<int>(preferences.encoding));
  ShowAppliedEncoding(*ComboBox(kEncodingList));
  FillRows(ComboBox(kLineEndList), kLineEndRows, static_cast<int>(preferences.lineEnd));
  FillRows(ComboBox(kFlowControlList), kFlowControlRows, static_cast<int>(preferences.flowControl));
  Edit(kFrameGapEdit)->setText(QString::number(preferences.frameGapMilliseconds));
  connect(Button(kOptionsOkButton), &QPushButton::clicked, this, &OptionsDialog::TakeChoices);
  connect(Button(kOptionsCancelButton), &QPushButton::clicked, this, &QDialog::reject);
}

void OptionsDialog::TakeChoices() {
  QLineEdit* gapEdit = Edit(kFrameGapEdit);
  const std::optional<std::uint32_t> gap = ParseUnsignedDecimal(gapEdit->text().left(31).toStdString());
  if (!gap || *gap < static_cast<std::uint32_t>(Preferences::kMinFrameGap) ||
      *gap > static_cast<std::uint32_t>(Preferences::kMaxFrameGap)) {
    prompter_.ShowMessage(
        this, QString::fromUtf8(kFrameGapOutOfRangeText).arg(Preferences::kMinFrameGap).arg(Preferences::kMaxFrameGap));
    gapEdit->setFocus();
    gapEdit->selectAll();
    return;
  }
  chosen_.encoding = static_cast<TextEncoding>(ComboBox(kEncodingList)->currentIndex());
  chosen_.lineEnd = static_cast<SendLineEnd>(ComboBox(kLineEndList)->currentIndex());
  chosen_.flowControl = static_cast<FlowControl>(ComboBox(kFlowControlList)->currentIndex());
  chosen_.frameGapMilliseconds = static_cast<std::int32_t>(*gap);
  accept();
}

}  // namespace portprobe
