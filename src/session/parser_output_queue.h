#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace portprobe {

// What a packet parser prints on its own thread, waiting for the window's thread.
class ParserOutputQueue {
 public:
  // True when the queue was empty, so the reader must be woken.
  bool Append(std::string_view text) {
    std::lock_guard lock(mutex_);
    const bool wasEmpty = text_.empty();
    text_.append(text);
    return wasEmpty;
  }

  std::string Take() {
    std::string text;
    std::lock_guard lock(mutex_);
    text.swap(text_);
    return text;
  }

 private:
  std::mutex mutex_;
  std::string text_;
};

}  // namespace portprobe
