#include "ui/elided_label.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace portprobe::ui {

void ElidedLabel::SetElidableLength(int length) {
  elidableLength_ = length;
  update();
}

QString ElidedLabel::ShownText() const {
  // A blank's width stays free, so the text never touches the label beside it.
  const int room = TextArea().width() - fontMetrics().horizontalAdvance(QLatin1Char(' '));
  const QString kept = elidableLength_ < 0 ? QString() : text().mid(elidableLength_);
  const QString elidable = elidableLength_ < 0 ? text() : text().left(elidableLength_);
  const int keptWidth = fontMetrics().horizontalAdvance(kept);
  // A notice after the status that leaves no room even for the path loses its end, so
  // the "…" tells that there is more (in the tool tip).
  if (keptWidth > room) return fontMetrics().elidedText(kept, Qt::ElideRight, room);
  return fontMetrics().elidedText(elidable, Qt::ElideMiddle, room - keptWidth) + kept;
}

QRect ElidedLabel::TextArea() const { return contentsRect().adjusted(margin(), margin(), -margin(), -margin()); }

void ElidedLabel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  style()->drawItemText(&painter, TextArea(), QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                        isEnabled(), ShownText(), foregroundRole());
}

}  // namespace portprobe::ui
