#include "console/console_screen.h"

#include <vterm.h>

#include <algorithm>
#include <array>
#include <deque>
#include <vector>
#include <utility>

namespace portprobe {

namespace {

ConsoleColour ColourOf(const VTermScreen* screen, VTermColor colour, bool foreground) {
  const bool isDefault = foreground ? VTERM_COLOR_IS_DEFAULT_FG(&colour) : VTERM_COLOR_IS_DEFAULT_BG(&colour);
  vterm_screen_convert_color_to_rgb(screen, &colour);
  return {colour.rgb.red, colour.rgb.green, colour.rgb.blue, isDefault};
}

ConsoleCell CellOf(const VTermScreen* screen, const VTermScreenCell& source) {
  ConsoleCell cell;
  // The second place of a wide character holds no character of its own.
  if (source.chars[0] == static_cast<std::uint32_t>(-1)) {
    cell.width = 0;
  } else {
    for (std::uint32_t c : source.chars) {
      if (c == 0) break;
      cell.text.push_back(static_cast<char32_t>(c));
    }
    cell.width = std::max(1, static_cast<int>(source.width));
  }
  cell.foreground = ColourOf(screen, source.fg, true);
  cell.background = ColourOf(screen, source.bg, false);
  cell.bold = source.attrs.bold != 0;
  cell.italic = source.attrs.italic != 0;
  cell.underline = source.attrs.underline != VTERM_UNDERLINE_OFF;
  cell.reverse = source.attrs.reverse != 0;
  return cell;
}

VTermModifier ModifierOf(ConsoleModifiers modifiers) {
  int mod = VTERM_MOD_NONE;
  if (modifiers.shift) mod |= VTERM_MOD_SHIFT;
  if (modifiers.alt) mod |= VTERM_MOD_ALT;
  if (modifiers.ctrl) mod |= VTERM_MOD_CTRL;
  return static_cast<VTermModifier>(mod);
}

VTermKey VTermKeyOf(ConsoleKey key) {
  static constexpr std::array<VTermKey, 13> kKeys = {
      VTERM_KEY_BACKSPACE, VTERM_KEY_TAB,  VTERM_KEY_ESCAPE, VTERM_KEY_UP,     VTERM_KEY_DOWN,
      VTERM_KEY_LEFT,      VTERM_KEY_RIGHT, VTERM_KEY_HOME,  VTERM_KEY_END,    VTERM_KEY_PAGEUP,
      VTERM_KEY_PAGEDOWN,  VTERM_KEY_INS,  VTERM_KEY_DEL,
  };
  const auto index = static_cast<std::size_t>(key);
  if (index < kKeys.size()) return kKeys[index];
  return static_cast<VTermKey>(VTERM_KEY_FUNCTION(static_cast<int>(index - kKeys.size()) + 1));
}

}  // namespace

struct ConsoleScreen::Terminal {
  explicit Terminal(ConsoleScreen& owner, int rows, int columns) : vterm(vterm_new(rows, columns)) {
    vterm_set_utf8(vterm, 1);
    vterm_output_set_callback(vterm, &Output, &owner);
    screen = vterm_obtain_screen(vterm);
    vterm_screen_set_callbacks(screen, &kCallbacks, &owner);
    vterm_screen_set_damage_merge(screen, VTERM_DAMAGE_SCROLL);
    vterm_screen_enable_altscreen(screen, 1);
    vterm_screen_reset(screen, 1);
  }
  ~Terminal() { vterm_free(vterm); }

  static void Output(const char* bytes, std::size_t length, void* user) {
    static_cast<ConsoleScreen*>(user)->output_.append(bytes, length);
  }
  static int Damage(VTermRect, void* user) {
    static_cast<ConsoleScreen*>(user)->changed_ = true;
    return 1;
  }
  static int MoveRect(VTermRect, VTermRect, void* user) { return Damage({}, user); }
  static int MoveCursor(VTermPos, VTermPos, int, void* user) { return Damage({}, user); }
  static int SetProperty(VTermProp property, VTermValue* value, void* user) {
    auto* owner = static_cast<ConsoleScreen*>(user);
    if (property == VTERM_PROP_CURSORVISIBLE) owner->cursorVisible_ = value->boolean != 0;
    owner->changed_ = true;
    return 1;
  }
  static int Bell(void* user) {
    static_cast<ConsoleScreen*>(user)->bell_ = true;
    return 1;
  }
  // The line is kept as the device left it, up to its last cell that is not blank.
  static int PushLine(int columns, const VTermScreenCell* cells, void* user) {
    auto* owner = static_cast<ConsoleScreen*>(user);
    std::deque<KeptLine>& kept = owner->terminal_->kept;
    if (owner->scrollbackLimit_ == 0) return 1;
    int length = columns;
    while (length > 0 && Blank(cells[length - 1])) --length;
    if (kept.size() == owner->scrollbackLimit_) kept.pop_front();
    kept.emplace_back(cells, cells + length);
    return 1;
  }
  // A taller screen takes back the newest kept lines.
  static int PopLine(int columns, VTermScreenCell* cells, void* user) {
    std::deque<KeptLine>& kept = static_cast<ConsoleScreen*>(user)->terminal_->kept;
    if (kept.empty()) return 0;
    const KeptLine line = std::move(kept.back());
    kept.pop_back();
    for (int i = 0; i < columns; ++i) {
      cells[i] = static_cast<std::size_t>(i) < line.size() ? line[static_cast<std::size_t>(i)] : BlankCell();
    }
    return 1;
  }
  static bool Blank(const VTermScreenCell& cell) {
    return cell.chars[0] == 0 && VTERM_COLOR_IS_DEFAULT_BG(&cell.bg) && !cell.attrs.reverse;
  }
  static VTermScreenCell BlankCell() {
    VTermScreenCell cell{};
    cell.width = 1;
    cell.fg.type = VTERM_COLOR_DEFAULT_FG;
    cell.bg.type = VTERM_COLOR_DEFAULT_BG;
    return cell;
  }

  static constexpr VTermScreenCallbacks kCallbacks = {
      .damage = Damage,
      .moverect = MoveRect,
      .movecursor = MoveCursor,
      .settermprop = SetProperty,
      .bell = Bell,
      .resize = nullptr,
      .sb_pushline = PushLine,
      .sb_popline = PopLine,
  };

  using KeptLine = std::vector<VTermScreenCell>;

  VTerm* vterm;
  VTermScreen* screen = nullptr;
  std::deque<KeptLine> kept;
};

ConsoleScreen::ConsoleScreen(int rows, int columns, std::size_t scrollbackLimit)
    : rows_(std::max(1, rows)), columns_(std::max(1, columns)), scrollbackLimit_(scrollbackLimit) {
  terminal_ = std::make_unique<Terminal>(*this, rows_, columns_);
}

ConsoleScreen::~ConsoleScreen() = default;

std::string ConsoleScreen::Feed(std::string_view utf8) {
  if (!utf8.empty()) vterm_input_write(terminal_->vterm, utf8.data(), utf8.size());
  vterm_screen_flush_damage(terminal_->screen);
  return TakeOutput();
}

void ConsoleScreen::Resize(int rows, int columns) {
  rows = std::max(1, rows);
  columns = std::max(1, columns);
  if (rows == rows_ && columns == columns_) return;
  rows_ = rows;
  columns_ = columns;
  vterm_set_size(terminal_->vterm, rows, columns);
  vterm_screen_flush_damage(terminal_->screen);
  changed_ = true;
}

ConsoleCell ConsoleScreen::Cell(int row, int column) const {
  VTermScreenCell cell{};
  if (!vterm_screen_get_cell(terminal_->screen, VTermPos{row, column}, &cell)) return ConsoleCell{};
  return CellOf(terminal_->screen, cell);
}

std::size_t ConsoleScreen::ScrollbackSize() const { return terminal_->kept.size(); }

ConsoleCell ConsoleScreen::ScrollbackCell(std::size_t line, int column) const {
  const Terminal::KeptLine& kept = terminal_->kept[line];
  if (column < 0 || static_cast<std::size_t>(column) >= kept.size()) return ConsoleCell{};
  return CellOf(terminal_->screen, kept[static_cast<std::size_t>(column)]);
}

ConsoleLine ConsoleScreen::ScrollbackLine(std::size_t line) const {
  ConsoleLine cells;
  for (const VTermScreenCell& cell : terminal_->kept[line]) cells.push_back(CellOf(terminal_->screen, cell));
  return cells;
}

ConsoleScreen::Cursor ConsoleScreen::CursorPlace() const {
  VTermPos place{};
  vterm_state_get_cursorpos(vterm_obtain_state(terminal_->vterm), &place);
  return {place.row, place.col, cursorVisible_};
}

std::string ConsoleScreen::KeyBytes(ConsoleKey key, ConsoleModifiers modifiers) {
  vterm_keyboard_key(terminal_->vterm, VTermKeyOf(key), ModifierOf(modifiers));
  return TakeOutput();
}

std::string ConsoleScreen::CharacterBytes(char32_t character, ConsoleModifiers modifiers) {
  vterm_keyboard_unichar(terminal_->vterm, character, ModifierOf(modifiers));
  return TakeOutput();
}

std::string ConsoleScreen::PasteBytes(std::string_view utf8) {
  vterm_keyboard_start_paste(terminal_->vterm);
  std::string bytes = TakeOutput();
  bytes += utf8;
  vterm_keyboard_end_paste(terminal_->vterm);
  return bytes + TakeOutput();
}

bool ConsoleScreen::TakeBell() { return std::exchange(bell_, false); }

bool ConsoleScreen::TakeChanged() { return std::exchange(changed_, false); }

std::string ConsoleScreen::TakeOutput() { return std::exchange(output_, {}); }

}  // namespace portprobe
