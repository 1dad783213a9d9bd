// The find bar of the receive box: Ctrl+F opens it in a strip at the bottom of the
// box, Enter and F3 find the next match, Shift+Enter and Shift+F3 the previous one.
// Matches in the visible lines are marked; the one found becomes the selection.
#include <QCheckBox>
#include <QShortcut>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/find_bar.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

namespace {

constexpr qsizetype kLongestTakenSelection = 256;

}  // namespace

void MainDialog::SetUpFindBar() {
  findBar_ = new ui::FindBar(this);
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, &MainDialog::OpenFindBar);
  connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, [this] { FindInReceive(true); });
  connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
          [this] { FindInReceive(false); });
  connect(findBar_, &ui::FindBar::FindNext, this, [this] { FindInReceive(true); });
  connect(findBar_, &ui::FindBar::FindPrevious, this, [this] { FindInReceive(false); });
  connect(findBar_, &ui::FindBar::PatternChanged, this, &MainDialog::RefreshReceiveSearch);
  connect(findBar_, &ui::FindBar::Closed, this, &MainDialog::FindBarClosed);
  // The bytes of a hex pattern are looked for in the layout only while it is shown.
  connect(CheckBox(kHexDisplayCheck), &QCheckBox::toggled, this, &MainDialog::RefreshReceiveSearch);
  ReceiveBox()->SetHighlighter([this](std::size_t from, std::size_t to) {
    return receiveSearch_ ? receiveSearch_->Overlapping(ReceiveBox()->Text().All(), from, to)
                          : std::vector<TextRange>();
  });
}

// The first opening reads the pattern the way the box shows its bytes.
void MainDialog::OpenFindBar() {
  if (!findBarOpened_) findBar_->SetHex(CheckBox(kHexDisplayCheck)->isChecked());
  findBarOpened_ = true;
  if (findBar_->isHidden()) TakeSelectionAsPattern();
  ReceiveBox()->ReserveBottom(findBar_->sizeHint().height());
  findBar_->Open();
  PlaceFindBar();
  RefreshReceiveSearch();
}

// On opening, a short selection within one line becomes the pattern, so that a frame
// selected in the box is found again with Ctrl+F and Enter; in hex display it is read
// as hex bytes if it is some. A match of the pattern the bar has leaves the bar as it is.
void MainDialog::TakeSelectionAsPattern() {
  const ui::PlainTextView* box = ReceiveBox();
  const QString selected = box->SelectedText();
  if (selected.isEmpty() || selected.size() > kLongestTakenSelection || selected.contains(QLatin1Char('\n')) ||
      selected.contains(QLatin1Char('\r'))) {
    return;
  }
  const std::size_t from = std::min(box->Anchor(), box->Caret());
  const TextRange selection{from, std::max(box->Anchor(), box->Caret())};
  if (const std::optional<TextSearch> search = BarSearch();
      search && search->Next(box->Text().All(), from, from + 1) == selection) {
    return;
  }
  const bool hexDisplay = CheckBox(kHexDisplayCheck)->isChecked();
  findBar_->SetHex(hexDisplay && TextSearch::Make(selected.toStdString(), TextSearch::Kind::Hex, true, true));
  findBar_->SetPattern(selected);
}

void MainDialog::PlaceFindBar() {
  if (findBar_ == nullptr || findBar_->isHidden()) return;
  const QRect box = ReceiveBox()->geometry();
  const QRect viewport = ReceiveBox()->viewport()->geometry();
  findBar_->setGeometry(box.x() + viewport.x(), box.y() + viewport.bottom() + 1, viewport.width(),
                        findBar_->sizeHint().height());
}

void MainDialog::EscapePressed() {
  if (!findBar_->isHidden()) findBar_->Close();
}

void MainDialog::FindBarClosed() {
  ReceiveBox()->ReserveBottom(0);
  RefreshReceiveSearch();
  ReceiveBox()->setFocus(Qt::OtherFocusReason);
}

std::optional<TextSearch> MainDialog::BarSearch() const {
  return TextSearch::Make(findBar_->Pattern().toStdString(),
                          findBar_->IsHex() ? TextSearch::Kind::Hex : TextSearch::Kind::Text, findBar_->MatchesCase(),
                          CheckBox(kHexDisplayCheck)->isChecked());
}

void MainDialog::RefreshReceiveSearch() {
  receiveSearch_.reset();
  if (!findBar_->isHidden()) receiveSearch_ = BarSearch();
  ReceiveBox()->viewport()->update();
}

// Forward from the caret, or from just after the start of the selection, so that the
// match found last is passed; at the end the search goes on from the other end.
void MainDialog::FindInReceive(bool forward) {
  if (findBar_->isHidden()) OpenFindBar();
  if (!receiveSearch_) {
    findBar_->ShowOutcome(findBar_->Pattern().isEmpty() ? QString() : QString::fromUtf8(kFindBadHexText));
    return;
  }
  ui::PlainTextView* box = ReceiveBox();
  const std::string_view text = box->Text().All();
  const std::size_t start = std::min(box->Anchor(), box->Caret());
  std::optional<TextRange> match = forward ? receiveSearch_->Next(text, box->HasSelection() ? start + 1 : box->Caret())
                                           : receiveSearch_->Previous(text, start);
  const bool wrapped = !match;
  if (wrapped) match = forward ? receiveSearch_->Next(text, 0) : receiveSearch_->Previous(text, text.size());
  if (!match) {
    findBar_->ShowOutcome(QString::fromUtf8(kFindNotFoundText));
    return;
  }
  box->SetSelection(match->from, match->to);
  findBar_->ShowOutcome(!wrapped  ? QString()
                        : forward ? QString::fromUtf8(kFindWrappedToStartText)
                                  : QString::fromUtf8(kFindWrappedToEndText));
}

}  // namespace portprobe
