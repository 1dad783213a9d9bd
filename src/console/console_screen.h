#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace portprobe {

struct ConsoleColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool isDefault = true;  // the view's own foreground or background

  bool operator==(const ConsoleColour&) const = default;
};

// One character place of the console screen.
struct ConsoleCell {
  std::u32string text;  // empty: blank
  ConsoleColour foreground;
  ConsoleColour background;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool reverse = false;
  int width = 1;  // 2 for a wide character, whose second place then has width 0

  bool operator==(const ConsoleCell&) const = default;
};
using ConsoleLine = std::vector<ConsoleCell>;

enum class ConsoleKey {
  Backspace, Tab, Escape, Up, Down, Left, Right, Home, End, PageUp, PageDown, Insert, Delete,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
};

struct ConsoleModifiers {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
};

// A VT100/xterm screen over libvterm: the device's bytes go in, cells come out, and the
// keys typed become the bytes that the device expects of a terminal. Lines that scroll
// off the top are kept, up to a limit, oldest first.
class ConsoleScreen {
 public:
  static constexpr std::size_t kScrollbackLines = 10000;

  ConsoleScreen(int rows, int columns, std::size_t scrollbackLimit = kScrollbackLines);
  ~ConsoleScreen();
  ConsoleScreen(const ConsoleScreen&) = delete;
  ConsoleScreen& operator=(const ConsoleScreen&) = delete;

  // Interprets UTF-8 text from the device; a sequence split between calls continues.
  // Returns what the screen answers to the device (to a status or attribute query).
  std::string Feed(std::string_view utf8);
  void Resize(int rows, int columns);
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }

  ConsoleCell Cell(int row, int column) const;
  // Kept lines hold the device's cells as they were, trimmed of blanks at the end;
  // they are converted only when looked at.
  std::size_t ScrollbackSize() const;
  ConsoleCell ScrollbackCell(std::size_t line, int column) const;
  ConsoleLine ScrollbackLine(std::size_t line) const;

  struct Cursor {
    int row = 0;
    int column = 0;
    bool visible = true;
  };
  Cursor CursorPlace() const;

  // The bytes of a key, of a character typed with modifiers (Ctrl+C: 03), and of a
  // paste (bracketed when the device asked for it). Printable text without Ctrl or Alt
  // is the caller's to encode.
  std::string KeyBytes(ConsoleKey key, ConsoleModifiers modifiers);
  std::string CharacterBytes(char32_t character, ConsoleModifiers modifiers);
  std::string PasteBytes(std::string_view utf8);

  // Whether the device rang the bell, or the screen changed, since the last call.
  bool TakeBell();
  bool TakeChanged();

 private:
  struct Terminal;
  friend struct Terminal;
  std::string TakeOutput();

  std::unique_ptr<Terminal> terminal_;
  int rows_;
  int columns_;
  std::size_t scrollbackLimit_;
  std::string output_;
  bool cursorVisible_ = true;
  bool bell_ = false;
  bool changed_ = true;
};

}  // namespace portprobe
