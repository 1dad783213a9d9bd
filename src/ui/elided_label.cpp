#include "ui/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace portprobe::ui {

void ElidedLabel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  // A blank's width stays free, so the text never touches the label beside it.
  const int room = area.width() - fontMetrics().horizontalAdvance(QLatin1Char(' '));
  const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room);
  style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(), isEnabled(),
                        shown, foregroundRole());
}

}  // namespace portprobe::ui
