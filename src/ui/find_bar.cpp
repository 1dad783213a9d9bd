#include "ui/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "resources/strings.h"

namespace portprobe::ui {

using namespace resources;

FindBar::FindBar(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  setAutoFillBackground(true);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 2, 2);
  layout->setSpacing(2);
  field_ = new QLineEdit(this);
  field_->setPlaceholderText(QString::fromUtf8(kFindPlaceholderText));
  field_->setClearButtonEnabled(true);
  field_->setMinimumWidth(field_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 16);
  layout->addWidget(field_, 1);
  hex_ = AddButton(kFindHexText, kFindHexTipText, true);
  matchCase_ = AddButton(kFindMatchCaseText, kFindMatchCaseTipText, true);
  connect(AddButton("▲", kFindPreviousTipText, false), &QToolButton::clicked, this, &FindBar::FindPrevious);
  connect(AddButton("▼", kFindNextTipText, false), &QToolButton::clicked, this, &FindBar::FindNext);
  outcome_ = new QLabel(this);
  // Room for the longest outcome, so the buttons stay in place as they change.
  int outcomeWidth = 0;
  for (const char* text : {kFindWrappedToStartText, kFindWrappedToEndText, kFindNotFoundText, kFindBadHexText}) {
    outcomeWidth = std::max(outcomeWidth, outcome_->fontMetrics().horizontalAdvance(QString::fromUtf8(text)));
  }
  outcome_->setMinimumWidth(outcomeWidth + 8);
  outcome_->setAlignment(Qt::AlignCenter);
  layout->addWidget(outcome_);
  connect(AddButton("✕", kFindCloseTipText, false), &QToolButton::clicked, this, &FindBar::Close);
  setFocusProxy(field_);
  connect(field_, &QLineEdit::textChanged, this, &FindBar::PatternChanged);
  connect(hex_, &QToolButton::toggled, this, [this](bool hex) {
    matchCase_->setEnabled(!hex);
    emit PatternChanged();
  });
  connect(matchCase_, &QToolButton::toggled, this, &FindBar::PatternChanged);
  connect(this, &FindBar::PatternChanged, this, [this] { ShowOutcome({}); });
  hide();
}

// Tool buttons are never a dialog's default button, so Enter stays with the bar. Only
// the toggles take focus (by Tab, then Space): the keys of the others work anywhere.
QToolButton* FindBar::AddButton(const char* text, const char* tip, bool checkable) {
  auto* button = new QToolButton(this);
  button->setText(QString::fromUtf8(text));
  button->setToolTip(QString::fromUtf8(tip));
  button->setCheckable(checkable);
  button->setAutoRaise(true);
  button->setFocusPolicy(checkable ? Qt::TabFocus : Qt::NoFocus);
  layout()->addWidget(button);
  return button;
}

void FindBar::Open() {
  show();
  raise();
  field_->setFocus(Qt::ShortcutFocusReason);
  field_->selectAll();
}

QString FindBar::Pattern() const { return field_->text(); }
bool FindBar::IsHex() const { return hex_->isChecked(); }
void FindBar::SetPattern(const QString& pattern) { field_->setText(pattern); }
void FindBar::SetHex(bool hex) { hex_->setChecked(hex); }
bool FindBar::MatchesCase() const { return matchCase_->isChecked(); }
QString FindBar::Outcome() const { return outcome_->text(); }
void FindBar::ShowOutcome(const QString& text) { outcome_->setText(text); }

void FindBar::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (event->modifiers() & Qt::ShiftModifier) {
      emit FindPrevious();
    } else {
      emit FindNext();
    }
  } else if (key == Qt::Key_Escape) {
    Close();
  } else {
    return QFrame::keyPressEvent(event);
  }
  event->accept();
}

void FindBar::Close() {
  hide();
  emit Closed();
}

}  // namespace portprobe::ui
