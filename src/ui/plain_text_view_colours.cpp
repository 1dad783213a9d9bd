#include <algorithm>

#include "ui/laid_out_line.h"
#include "ui/plain_text_view.h"

namespace portprobe::ui {

void PlainTextView::AddColouredRange(std::size_t from, std::size_t to, const QColor& colour) {
  to = std::min(to, text_.Size());
  if (from >= to) return;
  colouredRanges_.push_back({from + droppedBytes_, to + droppedBytes_, colour});
  viewport()->update();
}

std::vector<PlainTextView::ColouredRange> PlainTextView::ColouredRanges() const {
  std::vector<ColouredRange> ranges;
  for (const ColouredRange& range : colouredRanges_) {
    ranges.push_back({std::max(range.from, droppedBytes_) - droppedBytes_, range.to - droppedBytes_, range.colour});
  }
  return ranges;
}

// Only the ranges that reach into the line are looked at, however many there are.
QList<QTextLayout::FormatRange> PlainTextView::ColouredFormats(const LaidOutLine& laidOut, std::size_t start) const {
  QList<QTextLayout::FormatRange> formats;
  const std::size_t lineFrom = start + droppedBytes_;
  const std::size_t lineTo = lineFrom + laidOut.Length();
  auto range = std::partition_point(colouredRanges_.begin(), colouredRanges_.end(),
                                    [&](const ColouredRange& r) { return r.to <= lineFrom; });
  for (; range != colouredRanges_.end() && range->from < lineTo; ++range) {
    QTextLayout::FormatRange format;
    format.start = laidOut.TextPosition(std::max(range->from, lineFrom) - lineFrom);
    format.length = laidOut.TextPosition(std::min(range->to, lineTo) - lineFrom) - format.start;
    format.format.setForeground(range->colour);
    if (format.length > 0) formats << format;
  }
  return formats;
}

}  // namespace portprobe::ui
