#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace portprobe {

// One change to a text: at `position`, `removed` gave way to `inserted`.
struct TextEdit {
  std::size_t position = 0;
  std::string removed;
  std::string inserted;
};

// The undo and redo lists of an edited text. Characters typed one after another
// make one entry, and only the latest kMaxEntries changes are kept.
class EditHistory {
 public:
  static constexpr std::size_t kMaxEntries = 100;

  // A new change by the user; what could be redone is forgotten.
  void Record(TextEdit edit);
  // The change to take back (apply it in reverse), now redoable; none when empty.
  std::optional<TextEdit> TakeUndo();
  // The change to make again, now undoable; none when empty.
  std::optional<TextEdit> TakeRedo();
  void Clear();

 private:
  std::vector<TextEdit> undo_;
  std::vector<TextEdit> redo_;
};

}  // namespace portprobe
