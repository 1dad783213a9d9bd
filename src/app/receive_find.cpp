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
  const std::string_view text = box_->Text().All();
  const std::size_t start = std::min(box_->Anchor(), box_->Caret());
  std::optional<TextRange> match =
      forward ? search_->Next(text, box_->HasSelection() ? start + 1 : box_->Caret()) : search_->Previous(text, start);
  const bool wrapped = !match;
  if (wrapped) match = forward ? search_->Next(text, 0) : search_->Previous(text, text.size());
  if (!match) {
    bar_->ShowOutcome(QString::fromUtf8(kFindNotFoundText));
    return;
  }
  box_->SetSelection(match->from, match->to);
  bar_->ShowOutcome(!wrapped  ? QString()
                    : forward ? QString::fromUtf8(kFindWrappedToStartText)
                              : QString::fromUtf8(kFindWrappedToEndText));
}

bool ReceiveFind::HexDisplay() const { return hexDisplay_->isChecked(); }

}  // namespace portprobe
