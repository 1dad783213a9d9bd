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
  const int elidableRoom = std::max(0, room - fontMetrics().horizontalAdvance(kept));
  return fontMetrics().elidedText(elidable, Qt::ElideMiddle, elidableRoom) + kept;
}

QRect ElidedLabel::TextArea() const { return contentsRect().adjusted(margin(), margin(), -margin(), -margin()); }

void ElidedLabel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  style()->drawItemText(&painter, TextArea(), QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                        isEnabled(), ShownText(), foregroundRole());
}

}  // namespace portprobe::ui
