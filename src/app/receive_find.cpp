#include "app/receive_find.h"

#include <QCheckBox>
#include <QShortcut>

#include "resources/strings.h"
#include "ui/find_bar.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

namespace {

constexpr qsizetype kLongestTakenSelection = 256;
// About 2 ms of the slowest search: the window answers between slices. The first slice
// runs at once, so a box of ordinary size answers the key itself.
constexpr std::size_t kSliceBytes = std::size_t{1} << 20;

}  // namespace

ReceiveFind::ReceiveFind(QWidget* window, ui::PlainTextView* box, QCheckBox* hexDisplay)
    : QObject(window), box_(box), hexDisplay_(hexDisplay), bar_(new ui::FindBar(window)) {
  connect(new QShortcut(QKeySequence::Find, window), &QShortcut::activated, this, &ReceiveFind::Open);
  connect(new QShortcut(QKeySequence(Qt::Key_F3), window), &QShortcut::activated, this, [this] { Find(true); });
  connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), window), &QShortcut::activated, this,
          [this] { Find(false); });
  connect(bar_, &ui::FindBar::FindNext, this, [this] { Find(true); });
  connect(bar_, &ui::FindBar::FindPrevious, this, [this] { Find(false); });
  connect(bar_, &ui::FindBar::PatternChanged, this, &ReceiveFind::Refresh);
  connect(bar_, &ui::FindBar::Closed, this, &ReceiveFind::Closed);
  // The bytes of a hex pattern are looked for in the layout only while it is shown.
  connect(hexDisplay_, &QCheckBox::toggled, this, &ReceiveFind::Refresh);
  connect(&sliceTimer_, &QTimer::timeout, this, [this] { RunSlice(kSliceBytes); });
  box_->SetHighlighter([this](std::size_t from, std::size_t to) {
    return search_ ? search_->Overlapping(box_->Text().All(), from, to) : std::vector<TextRange>();
  });
}

// The first opening reads the pattern the way the box shows its bytes.
void ReceiveFind::Open() {
  if (!opened_) bar_->SetHex(HexDisplay());
  opened_ = true;
  if (bar_->isHidden()) TakeSelectionAsPattern();
  box_->ReserveBottom(bar_->sizeHint().height());
  bar_->Open();
  Place();
  Refresh();
}

// On opening, a short selection within one line becomes the pattern, so that a frame
// selected in the box is found again with Ctrl+F and Enter; in hex display it is read
// as hex bytes if it is some. A match of the pattern the bar has leaves the bar as it is.
void ReceiveFind::TakeSelectionAsPattern() {
  const QString selected = box_->SelectedText();
  if (selected.isEmpty() || selected.size() > kLongestTakenSelection || selected.contains(QLatin1Char('\n')) ||
      selected.contains(QLatin1Char('\r'))) {
    return;
  }
  const std::size_t from = std::min(box_->Anchor(), box_->Caret());
  const TextRange selection{from, std::max(box_->Anchor(), box_->Caret())};
  if (const std::optional<TextSearch> search = BarSearch();
      search && search->Next(box_->Text().All(), from, from + 1) == selection) {
    return;
  }
  const bool hexDisplay = HexDisplay();
  bar_->SetHex(hexDisplay && TextSearch::Make(selected.toStdString(), TextSearch::Kind::Hex, true, true));
  bar_->SetPattern(selected);
}

void ReceiveFind::Place() {
  if (bar_ == nullptr || bar_->isHidden()) return;
  const QRect box = box_->geometry();
  const QRect viewport = box_->viewport()->geometry();
  bar_->setGeometry(box.x() + viewport.x(), box.y() + viewport.bottom() + 1, viewport.width(),
                    bar_->sizeHint().height());
}

bool ReceiveFind::Close() {
  if (bar_->isHidden()) return false;
  bar_->Close();
  return true;
}

void ReceiveFind::Closed() {
  box_->ReserveBottom(0);
  Refresh();
  box_->setFocus(Qt::OtherFocusReason);
}

std::optional<TextSearch> ReceiveFind::BarSearch() const {
  return TextSearch::Make(bar_->Pattern().toStdString(), bar_->IsHex() ? TextSearch::Kind::Hex : TextSearch::Kind::Text,
                          bar_->MatchesCase(), HexDisplay());
}

void ReceiveFind::Refresh() {
  job_.reset();
  sliceTimer_.stop();
  search_.reset();
  if (!bar_->isHidden()) search_ = BarSearch();
  box_->viewport()->update();
}

// Forward from the caret, or from just after the start of the selection, so that the
// match found last is passed; at the end the search goes on from the other end.
void ReceiveFind::Find(bool forward) {
  if (bar_->isHidden()) Open();
  if (!search_) {
    bar_->ShowOutcome(bar_->Pattern().isEmpty() ? QString() : QString::fromUtf8(kFindBadHexText));
    return;
  }
  const std::size_t start = std::min(box_->Anchor(), box_->Caret());
  job_.emplace(*search_, forward, forward ? (box_->HasSelection() ? start + 1 : box_->Caret()) : start);
  droppedSeen_ = box_->DroppedBytes();
  RunSlice(kSliceBytes);
}

void ReceiveFind::RunSlice(std::size_t budget) {
  if (!job_) return;
  job_->Dropped(box_->DroppedBytes() - droppedSeen_);
  droppedSeen_ = box_->DroppedBytes();
  const std::optional<SlicedFind::Outcome> outcome = job_->Step(box_->Text().All(), budget);
  if (!outcome) {
    if (!sliceTimer_.isActive()) sliceTimer_.start(0);
    return;
  }
  const bool forward = job_->Forward();
  job_.reset();
  sliceTimer_.stop();
  Show(*outcome, forward);
}

void ReceiveFind::Show(const SlicedFind::Outcome& outcome, bool forward) {
  if (!outcome.match) {
    bar_->ShowOutcome(QString::fromUtf8(kFindNotFoundText));
    return;
  }
  box_->SetSelection(outcome.match->from, outcome.match->to);
  bar_->ShowOutcome(!outcome.wrapped ? QString()
                    : forward        ? QString::fromUtf8(kFindWrappedToStartText)
                                     : QString::fromUtf8(kFindWrappedToEndText));
}

bool ReceiveFind::HexDisplay() const { return hexDisplay_->isChecked(); }

}  // namespace portprobe
