#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "codec/text_search.h"

namespace portprobe {

// A find bar's search that runs a slice at a time, so that the window answers between
// slices however long the text: forward from `start` to the end and then, wrapped,
// from the text's start; backward from `start` to the text's start and then, wrapped,
// from its end. The text may grow at its end or lose its start between slices.
class SlicedFind {
 public:
  struct Outcome {
    std::optional<TextRange> match;  // none: not found anywhere
    bool wrapped = false;
  };

  SlicedFind(TextSearch search, bool forward, std::size_t start);

  // Searches about `budget` more bytes of the text as it is now; the outcome once the
  // search has ended.
  std::optional<Outcome> Step(std::string_view text, std::size_t budget);
  // The text lost its first `bytes` bytes.
  void Dropped(std::size_t bytes);
  bool Forward() const { return forward_; }

 private:
  std::optional<Outcome> StepForward(std::string_view text, std::size_t budget);
  std::optional<Outcome> StepBackward(std::string_view text, std::size_t budget);

  TextSearch search_;
  bool forward_;
  bool wrapped_ = false;
  // Forward: where the next slice begins. Backward: where the last slice ended, or
  // nothing for the text's end.
  std::optional<std::size_t> position_;
};

}  // namespace portprobe
