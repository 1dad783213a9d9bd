#include "codec/sliced_find.h"

#include <algorithm>

namespace portprobe {

SlicedFind::SlicedFind(TextSearch search, bool forward, std::size_t start)
    : search_(std::move(search)), forward_(forward), position_(start) {}

std::optional<SlicedFind::Outcome> SlicedFind::Step(std::string_view text, std::size_t budget) {
  return forward_ ? StepForward(text, std::max<std::size_t>(budget, 1)) : StepBackward(text, std::max<std::size_t>(budget, 1));
}

std::optional<SlicedFind::Outcome> SlicedFind::StepForward(std::string_view text, std::size_t budget) {
  const std::size_t from = std::min(position_.value_or(0), text.size());
  const std::size_t limit = from + std::min(budget, text.size() - from);
  if (std::optional<TextRange> match = search_.Next(text, from, limit)) return Outcome{match, wrapped_};
  position_ = limit;
  if (limit < text.size()) return std::nullopt;
  if (wrapped_) return Outcome{};
  wrapped_ = true;
  position_ = 0;
  return std::nullopt;
}

std::optional<SlicedFind::Outcome> SlicedFind::StepBackward(std::string_view text, std::size_t budget) {
  const std::size_t end = std::min(position_.value_or(text.size()), text.size());
  const std::size_t from = end - std::min(budget, end);
  if (std::optional<TextRange> match = search_.LastIn(text, from, end)) return Outcome{match, wrapped_};
  position_ = from;
  if (from > 0) return std::nullopt;
  if (wrapped_) return Outcome{};
  wrapped_ = true;
  position_.reset();
  return std::nullopt;
}

void SlicedFind::Dropped(std::size_t bytes) {
  if (position_) position_ = *position_ - std::min(*position_, bytes);
}

}  // namespace portprobe
