#include "console/console_screen.h"

#include <vterm.h>

#include <algorithm>
#include <array>
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
  static int PushLine(int columns, const VTermScreenCell* cells, void* user) {
    auto* owner = static_cast<ConsoleScreen*>(user);
    ConsoleLine line;
    line.reserve(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) line.push_back(CellOf(owner->terminal_->screen, cells[i]));
    owner->PushLine(std::move(line));
    return 1;
  }
  // A taller screen takes back the newest kept lines; cells of the line beyond its
  // width are blank.
  static int PopLine(int columns, VTermScreenCell* cells, void* user) {
    auto* owner = static_cast<ConsoleScreen*>(user);
    if (owner->scrollback_.empty()) return 0;
    const ConsoleLine line = std::move(owner->scrollback_.back());
    owner->scrollback_.pop_back();
    for (int i = 0; i < columns; ++i) {
      VTermScreenCell& cell = cells[i];
      cell = VTermScreenCell{};
      vterm_color_rgb(&cell.fg, 0, 0, 0);
      cell.fg.type = VTERM_COLOR_DEFAULT_FG;
      cell.bg.type = VTERM_COLOR_DEFAULT_BG;
      cell.width = 1;
      if (static_cast<std::size_t>(i) >= line.size()) continue;
      const ConsoleCell& kept = line[static_cast<std::size_t>(i)];
      const std::size_t count = std::min<std::size_t>(kept.text.size(), VTERM_MAX_CHARS_PER_CELL - 1);
      for (std::size_t c = 0; c < count; ++c) cell.chars[c] = kept.text[c];
      if (kept.width == 0) cell.chars[0] = static_cast<std::uint32_t>(-1);
      cell.width = static_cast<char>(kept.width);
      cell.attrs.bold = kept.bold;
      cell.attrs.italic = kept.italic;
      cell.attrs.underline = kept.underline ? VTERM_UNDERLINE_SINGLE : VTERM_UNDERLINE_OFF;
      cell.attrs.reverse = kept.reverse;
      if (!kept.foreground.isDefault) {
        vterm_color_rgb(&cell.fg, kept.foreground.red, kept.foreground.green, kept.foreground.blue);
      }
      if (!kept.background.isDefault) {
        vterm_color_rgb(&cell.bg, kept.background.red, kept.background.green, kept.background.blue);
      }
    }
    return 1;
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

  VTerm* vterm;
  VTermScreen* screen = nullptr;
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

void ConsoleScreen::PushLine(ConsoleLine line) {
  if (scrollbackLimit_ == 0) return;
  if (scrollback_.size() == scrollbackLimit_) scrollback_.pop_front();
  scrollback_.push_back(std::move(line));
}

std::string ConsoleScreen::TakeOutput() { return std::exchange(output_, {}); }

}  // namespace portprobe
