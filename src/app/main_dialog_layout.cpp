// The window grows from its start-up size: the two boxes stretch, the controls of
// the bottom area follow the lower edge. Some controls have their own text colour.
#include <QLabel>
#include <QPalette>
#include <algorithm>
#include <QResizeEvent>

#include "app/main_dialog.h"
#include "app/receive_find.h"
#include "resources/control_ids.h"

namespace portprobe {

using namespace resources;

namespace {

// clang-format off
constexpr std::array<int, 24> kBottomControls = {
    kHistoryPopupButton, kHistoryList,    kAddHistoryButton,  kImportHistoryButton, kExportHistoryButton,
    kChecksumList,       kChecksumButton, kStatusLabel,       kRxLabel,             kTxLabel,
    kResetCountersButton, kClearHistoryButton, kSendFileButton, kSendFileLabel,     kMenuButton,
    kHexButton,          kCharButton,     kClearSendButton,   kManualSendButton,    kHexSendCheck,
    kAutoSendCheck,      kPeriodLabel,    kPeriodEdit,        kMillisecondsLabel};
// clang-format on

// The rest of the status line's row stays at the right edge, so that the status
// text gets the width that the window gains.
constexpr std::array<int, 5> kRightOfStatus = {kRxLabel, kTxLabel, kResetCountersButton, kSendFileButton,
                                               kSendFileLabel};

struct TextColour {
  QColor colour;
  std::initializer_list<int> controls;
};

const TextColour kTextColours[] = {
    {QColor(0, 0, 180), {kSendBox, kClearSendButton, kStatusLabel, kTxLabel, kRxLabel}},
    {QColor(50, 50, 150),
     {kHexSendCheck, kHexDisplayCheck, kAutoSendCheck, kPeriodLabel, kMillisecondsLabel, kCaptureCheck}},
    {QColor(128, 0, 0), {kSendFileLabel, kCaptureLabel}},
};

}  // namespace

void MainDialog::RecordLayout() {
  initialSize_ = size();
  initialReceiveBox_ = Control(kReceiveBox)->geometry();
  initialSendBox_ = Control(kSendBox)->geometry();
  for (std::size_t i = 0; i < kBottomControls.size(); ++i) {
    initialBottomControls_[i] = Control(kBottomControls[i])->geometry();
  }
  // Window managers hold the window at this size or larger during a drag.
  setMinimumSize(initialSize_);
}

// Two thirds of the extra height go to the receive box, the rest to the send box;
// both take all of the extra width, and so does the status line. A size below the
// start-up size moves nothing.
void MainDialog::Relayout(const QSize& proposed) {
  const int dx = proposed.width() - initialSize_.width();
  const int dy = proposed.height() - initialSize_.height();
  if (dx < 0 || dy < 0) return;
  const int g = (2 * dy) / 3;
  Control(kReceiveBox)->setGeometry(initialReceiveBox_.adjusted(0, 0, dx, g));
  PlaceConsole();
  Control(kSendBox)->setGeometry(initialSendBox_.adjusted(0, g, dx, dy));
  for (std::size_t i = 0; i < kBottomControls.size(); ++i) Control(kBottomControls[i])->setGeometry(LaidOut(i, dx, dy));
  FitCounters();
}

QRect MainDialog::LaidOut(std::size_t bottomControl, int dx, int dy) const {
  const int id = kBottomControls[bottomControl];
  QRect rect = initialBottomControls_[bottomControl].translated(0, dy);
  if (id == kStatusLabel) rect.adjust(0, 0, dx, 0);
  if (std::find(kRightOfStatus.begin(), kRightOfStatus.end(), id) != kRightOfStatus.end()) rect.translate(dx, 0);
  return rect;
}

// A count too long for its label (ten digits) takes its room from the status line
// on its left, which then only loses more of the middle of its path.
void MainDialog::FitCounters() {
  if (initialSize_.isEmpty()) return;
  const int dx = std::max(0, width() - initialSize_.width());
  const int dy = std::max(0, height() - initialSize_.height());
  const auto index = [](int id) {
    return static_cast<std::size_t>(std::find(kBottomControls.begin(), kBottomControls.end(), id) -
                                    kBottomControls.begin());
  };
  QRect status = LaidOut(index(kStatusLabel), dx, dy);
  QRect rx = LaidOut(index(kRxLabel), dx, dy);
  QRect tx = LaidOut(index(kTxLabel), dx, dy);
  const auto needed = [this](int id) {
    const QLabel* label = Label(id);
    return label->fontMetrics().horizontalAdvance(label->text() + QLatin1Char(' ')) + label->width() -
           label->contentsRect().width();
  };
  tx.setLeft(std::min(tx.left(), tx.right() + 1 - needed(kTxLabel)));
  rx.moveRight(std::min(rx.right(), tx.left() - 1));
  rx.setLeft(std::min(rx.left(), rx.right() + 1 - needed(kRxLabel)));
  status.setRight(std::min(status.right(), rx.left() - 1));
  Control(kStatusLabel)->setGeometry(status);
  Control(kRxLabel)->setGeometry(rx);
  Control(kTxLabel)->setGeometry(tx);
}

void MainDialog::resizeEvent(QResizeEvent* event) {
  TemplateDialog::resizeEvent(event);
  if (startupDone_) Relayout(event->size());
  find_->Place();
  ScheduleSettingsSave();
}

void MainDialog::ApplyTextColours() {
  for (const TextColour& entry : kTextColours) {
    for (int id : entry.controls) {
      QWidget* control = Control(id);
      QPalette palette = control->palette();
      // A disabled control keeps the style's disabled look.
      for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(QPalette::Active, role, entry.colour);
        palette.setColor(QPalette::Inactive, role, entry.colour);
      }
      control->setPalette(palette);
    }
  }
}

}  // namespace portprobe
